#include "addin/hosting/QuickTimePluginNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/QuickTimePluginNode.h"

namespace {

enum : DISPID { kGetSrc = 800, kSetSrc = 801 };

}  // namespace

const IID QuickTimePluginNodeProxy::kIid = {0x69A04600, 0x71B0, 0x4570, {0x96, 0x27, 0x6E, 0x1B, 0x0C, 0xC1, 0x0D, 0xD6}};

QuickTimePluginNodeProxy::QuickTimePluginNodeProxy(QuickTimePluginNode* node) : ActiveXNodeProxy(node, kIid) {}

bool QuickTimePluginNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ActiveXNodeProxy::AnswersInterface(iid);
}

HRESULT QuickTimePluginNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<QuickTimePluginNode*>(GetActiveXNode());
    DispArgs args(params);
    switch (id) {
    case kGetSrc:
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        return DispResult(result).SetString(node->GetSrc());
    case kSetSrc: {
        MKString src;
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &src)))
            return args.Error();
        node->SetSrc(src);
        return NoResult(result);
    }
    default:
        return ActiveXNodeProxy::Dispatch(id, params, result);
    }
}
