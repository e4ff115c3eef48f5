#include "addin/hosting/SceneNodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/DibSurface.h"
#include "addin/hosting/HostHandler.h"
#include "addin/hosting/LayerNodeProxy.h"
#include "addin/hosting/NodeHost.h"
#include "addin/hosting/NodeLayer.h"
#include "addin/hosting/RectF.h"
#include "addin/hosting/SceneNode.h"

namespace {

enum : DISPID {
    kGetLeft = 1,
    kGetTop,
    kGetWidth,
    kGetHeight,
    kSetRect,
    kGetRect,
    kGetAbsoluteRect,
    kToPixels,
    kGetOpacity,
    kSetOpacity,
    kIsVisible,
    kSetVisible,
    kActivate,
    kStart,
    kStop,
    kGetState,
    kSetAnimating,
    kSaveLayerJpeg,
    kSaveLayerPng,
    kIsReady,
    kIsShown,
    kSendHostCommand,
    kSetLinkedNode,
};

// Writes four by-reference floats.
HRESULT WriteRect(DispArgs& args, float left, float top, float width, float height)
{
    float* out[4] = {};
    for (UINT i = 0; i < 4; ++i)
        args.GetFloatRef(i, &out[i]);
    if (FAILED(args.Error()))
        return args.Error();
    const float values[4] = {left, top, width, height};
    for (int i = 0; i < 4; ++i) {
        // A caller's null reference cannot receive its value.
        if (!out[i])
            return E_POINTER;
    }
    for (int i = 0; i < 4; ++i)
        *out[i] = values[i];
    return S_OK;
}

}  // namespace

const IID SceneNodeProxy::kIid = {0x1223229F, 0x3A48, 0x4D9E, {0x8C, 0x1B, 0x63, 0xC1, 0xAF, 0x0A, 0x0D, 0x63}};

SceneNodeProxy::SceneNodeProxy(SceneNode* node, REFIID iid) : NodeProxy(node, iid) {}

SceneNode* SceneNodeProxy::GetNode() const
{
    return static_cast<SceneNode*>(GetObject());
}

bool SceneNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || NodeProxy::AnswersInterface(iid);
}

HRESULT SceneNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    if (id < kGetLeft || id > kSetLinkedNode)
        return NodeProxy::Dispatch(id, params, result);
    SceneNode* node = GetNode();
    DispResult out(result);
    const UINT count = DispArgs(params).Count();
    switch (id) {
    case kGetLeft:
    case kGetTop:
    case kGetWidth:
    case kGetHeight:
    case kGetOpacity: {
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        const float values[] = {node->GetX(), node->GetY(), node->GetWidth(), node->GetHeight()};
        out.SetFloat(id == kGetOpacity ? node->GetOpacity() : values[id - kGetLeft]);
        return S_OK;
    }
    case kIsVisible:
    case kIsReady:
    case kIsShown:
    case kStop:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        if (id == kStop)
            out.SetBool(node->Stop());
        else
            out.SetBool(id == kIsVisible ? node->IsVisibleInTree() : id == kIsReady ? node->GetReady() : node->IsShown());
        return S_OK;
    case kGetState:
        if (count != 0)
            return DISP_E_BADPARAMCOUNT;
        out.SetInt(node->GetState());
        return S_OK;
    default:
        return DispatchWithArguments(id, params, result);
    }
}

HRESULT SceneNodeProxy::DispatchWithArguments(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    SceneNode* node = GetNode();
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kSetRect: {
        float values[4] = {};
        if (count != 4)
            return DISP_E_BADPARAMCOUNT;
        for (UINT i = 0; i < 4; ++i)
            args.GetFloat(i, &values[i]);
        if (FAILED(args.Error()))
            return args.Error();
        out.SetBool(node->SetRect(values[0], values[1], values[2], values[3]));
        return S_OK;
    }
    case kGetRect:
    case kGetAbsoluteRect: {
        if (count != 4)
            return DISP_E_BADPARAMCOUNT;
        HRESULT hr;
        if (id == kGetRect) {
            hr = WriteRect(args, node->GetX(), node->GetY(), node->GetWidth(), node->GetHeight());
        } else {
            const RectF rect = node->GetAbsoluteRect();
            hr = WriteRect(args, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        }
        return FAILED(hr) ? hr : NoResult(result);
    }
    case kToPixels:
    case kSetOpacity: {
        float value = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetFloat(0, &value)))
            return args.Error();
        if (id == kToPixels) {
            out.SetInt(node->ToPixels(value));
            return S_OK;
        }
        node->SetOpacity(value);
        return NoResult(result);
    }
    case kSetVisible:
    case kSetAnimating:
    case kActivate:
    case kStart: {
        bool value = false;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetBool(0, &value)))
            return args.Error();
        if (id == kActivate || id == kStart) {
            out.SetBool(id == kActivate ? node->Activate(value) : node->Start(value));
            return S_OK;
        }
        if (id == kSetVisible)
            node->SetVisible(value);
        else
            node->SetAnimating(value);
        return NoResult(result);
    }
    case kSetLinkedNode: {
        IDispatch* layer = nullptr;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetDispatch(0, &layer)))
            return args.Error();
        if (!layer) {
            node->SetLinkedNode(nullptr);
            return NoResult(result);
        }
        IUnknown* asLayer = nullptr;
        if (FAILED(layer->QueryInterface(LayerNodeProxy::kIid, reinterpret_cast<void**>(&asLayer))) || !asLayer)
            return E_INVALIDARG;
        // Our own layer proxies answer that identifier with themselves.
        auto* proxy = static_cast<LayerNodeProxy*>(static_cast<IDispatch*>(asLayer));
        SceneNode* linked = static_cast<SceneNode*>(proxy->GetObject());
        asLayer->Release();
        if (!linked)
            return E_INVALIDARG;
        node->SetLinkedNode(linked);
        return NoResult(result);
    }
    case kSaveLayerJpeg:
    case kSaveLayerPng: {
        MKString path;
        int32_t value = 0;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetString(0, &path);
        args.GetInt(1, &value);
        if (FAILED(args.Error()))
            return args.Error();
        const NodeLayer* layer = node->GetContentLayer();
        const DibSurface* surface = layer ? layer->GetSurface() : nullptr;
        if (!surface || !(id == kSaveLayerJpeg ? surface->SaveJpeg(path, value) : surface->SavePng(path, value)))
            return E_ACCESSDENIED;
        return NoResult(result);
    }
    case kSendHostCommand: {
        int32_t command = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetInt(0, &command)))
            return args.Error();
        HostHandler* handler = node->GetHost() ? node->GetHost()->GetHostHandler() : nullptr;
        out.SetBool(handler && handler->SendCommand(command));
        return S_OK;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
