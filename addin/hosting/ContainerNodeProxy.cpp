#include "addin/hosting/ContainerNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/ContainerNode.h"
#include "addin/hosting/WebBrowserNode.h"

#include <new>

namespace {

enum : DISPID { kCreateContainer = 100, kCreateWindowed = 101, kCreateImage = 102, kCreateWebBrowser = 107 };

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
    case kCreateWebBrowser:
        if (args.Count() != 0)
            return DISP_E_BADPARAMCOUNT;
        if (id == kCreateWebBrowser)
            out.SetDispatch(container->AddNewChild(new (std::nothrow) WebBrowserNode()));
        else
            out.SetDispatch(id == kCreateContainer ? container->CreateContainer() : container->CreateImage());
        return S_OK;
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
