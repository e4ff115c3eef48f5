#include "addin/hosting/WindowedNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/WindowedNode.h"

namespace {

enum : DISPID { kGetBackgroundColor = 300, kSetBackgroundColor = 301 };

}  // namespace

const IID WindowedNodeProxy::kIid = {0x28F0E13B, 0x6CDD, 0x4C69, {0x8D, 0x42, 0x9B, 0xE1, 0xD0, 0x2C, 0x74, 0x8B}};

WindowedNodeProxy::WindowedNodeProxy(WindowedNode* node) : ContainerNodeProxy(node, kIid) {}

bool WindowedNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ContainerNodeProxy::AnswersInterface(iid);
}

HRESULT WindowedNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<WindowedNode*>(GetObject());
    DispArgs args(params);
    switch (id) {
    case kGetBackgroundColor: {
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        // Stored as red, green, blue, alpha.
        const uint8_t* rgba = node->GetBackgroundColor();
        DispResult(result).SetInt(int32_t(uint32_t(rgba[3]) << 24 | uint32_t(rgba[0]) << 16 |
                                          uint32_t(rgba[1]) << 8 | rgba[2]));
        return S_OK;
    }
    case kSetBackgroundColor: {
        int32_t colour = 0;
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &colour)))
            return args.Error();
        const uint32_t argb = uint32_t(colour);
        node->SetBackgroundColor(uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24));
        return NoResult(result);
    }
    default:
        return ContainerNodeProxy::Dispatch(id, params, result);
    }
}
