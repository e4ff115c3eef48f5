#include "addin/hosting/ImageNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/ImageNode.h"

namespace {

enum : DISPID { kGetPath = 400, kSetPath = 401 };

}  // namespace

const IID ImageNodeProxy::kIid = {0xBD43634B, 0x580F, 0x4434, {0xAB, 0xD4, 0x8B, 0x72, 0xDE, 0x19, 0x39, 0x1B}};

ImageNodeProxy::ImageNodeProxy(ImageNode* node) : SceneNodeProxy(node, kIid) {}

bool ImageNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || SceneNodeProxy::AnswersInterface(iid);
}

HRESULT ImageNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* node = static_cast<ImageNode*>(GetObject());
    DispArgs args(params);
    switch (id) {
    case kGetPath:
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        return DispResult(result).SetString(node->GetPath());
    case kSetPath: {
        MKString path;
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &path)))
            return args.Error();
        node->SetPath(path);
        return NoResult(result);
    }
    default:
        return SceneNodeProxy::Dispatch(id, params, result);
    }
}
