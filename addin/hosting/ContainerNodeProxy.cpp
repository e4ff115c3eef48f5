#include "addin/hosting/ContainerNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/ContainerNode.h"
#include "addin/hosting/FlashNode.h"
#include "addin/hosting/MovieNode.h"
#include "addin/hosting/QuickTimeControlNode.h"
#include "addin/hosting/QuickTimePluginNode.h"
#include "addin/hosting/WebBrowserNode.h"

#include <new>

namespace {

enum : DISPID {
    kCreateContainer = 100,
    kCreateWindowed,
    kCreateImage,
    kCreateFlash,
    kCreateMovie,
    kCreateQuickTimePlugin,
    kCreateQuickTimeControl,
    kCreateWebBrowser,
};

// The new control node of an identifier that takes no argument.
SceneNode* NewControlNode(DISPID id)
{
    if (id == kCreateQuickTimeControl)
        return new (std::nothrow) QuickTimeControlNode();
    return new (std::nothrow) WebBrowserNode();
}

}  // namespace

const IID ContainerNodeProxy::kIid = {0x9C9A2850, 0x66AD, 0x4B78, {0xB5, 0xE3, 0xA5, 0x3A, 0x81, 0xA9, 0x65, 0xF0}};

ContainerNodeProxy::ContainerNodeProxy(ContainerNode* node) : SceneNodeProxy(node, kIid) {}

ContainerNodeProxy::ContainerNodeProxy(ContainerNode* node, REFIID iid) : SceneNodeProxy(node, iid) {}

bool ContainerNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || SceneNodeProxy::AnswersInterface(iid);
}

HRESULT ContainerNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    auto* container = static_cast<ContainerNode*>(GetObject());
    DispArgs args(params);
    DispResult out(result);
    switch (id) {
    case kCreateContainer:
    case kCreateImage:
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetDispatch(id == kCreateContainer ? container->CreateContainer() : container->CreateImage());
        return S_OK;
    case kCreateQuickTimeControl:
    case kCreateWebBrowser:
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetDispatch(container->AddNewChild(NewControlNode(id)));
        return S_OK;
    case kCreateFlash:
    case kCreateMovie: {
        int32_t mode = 0;
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &mode)))
            return args.Error();
        SceneNode* child = id == kCreateFlash ? static_cast<SceneNode*>(new (std::nothrow) FlashNode(mode))
                                              : new (std::nothrow) MovieNode(mode);
        out.SetDispatch(container->AddNewChild(child));
        return S_OK;
    }
    case kCreateQuickTimePlugin: {
        bool windowless = false;
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetBool(0, &windowless)))
            return args.Error();
        out.SetDispatch(container->AddNewChild(new (std::nothrow) QuickTimePluginNode(windowless)));
        return S_OK;
    }
    case kCreateWindowed: {
        int32_t values[3] = {};
        if (args.Count() != 3)
            return DISP_E_BADPARAMCOUNT;
        for (UINT i = 0; i < 3; ++i)
            args.GetInt(i, &values[i]);
        if (FAILED(args.Error()))
            return args.Error();
        if (uint32_t(values[0]) > 3 || uint32_t(values[1]) > 1 || uint32_t(values[2]) > 2)
            return E_INVALIDARG;
        out.SetDispatch(container->CreateWindowed(values[0], values[1], values[2]));
        return S_OK;
    }
    default:
        return SceneNodeProxy::Dispatch(id, params, result);
    }
}
