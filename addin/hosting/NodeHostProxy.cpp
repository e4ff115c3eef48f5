#include "addin/hosting/NodeHostProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/LayerNode.h"
#include "addin/hosting/NodeHost.h"

namespace {

enum : DISPID {
    kSetWindow = 1,
    kCreateLayer,
    kGetWidth,
    kGetHeight,
    kSetSize,
    kGetOffsetXPixels,
    kGetOffsetYPixels,
    kGetWidthPixels,
    kGetHeightPixels,
    kToPixels,
    kUpdateLayout,
    kBeginUpdate,
    kEndUpdate,
    kIsUpdating,
    kFlushPendingUpdate,
    kGetTopLayer,
};

// A logical length in window pixels: times the scale, rounded half up.
int32_t Pixels(double value, double scale)
{
    return int32_t(value * scale + 0.5);
}

}  // namespace

const IID NodeHostProxy::kIid = {0xCC5D401A, 0x080C, 0x417B, {0xAF, 0xE3, 0x49, 0x5B, 0x02, 0x61, 0xF6, 0x87}};

NodeHostProxy::NodeHostProxy(NodeHost* host) : NodeProxy(host, kIid) {}

bool NodeHostProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || NodeProxy::AnswersInterface(iid);
}

HRESULT NodeHostProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    NodeHost* host = static_cast<NodeHost*>(GetObject());
    DispArgs args(params);
    DispResult out(result);
    const UINT count = args.Count();
    switch (id) {
    case kSetWindow: {
        int64_t window = 0;
        int32_t flags = 0;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetInt64(0, &window);
        args.GetInt(1, &flags);
        if (FAILED(args.Error()))
            return args.Error();
        if (uint32_t(flags) > 2 || !host->SetWindow(reinterpret_cast<HWND>(intptr_t(window)), flags))
            return E_INVALIDARG;
        return NoResult(result);
    }
    case kSetSize: {
        float width = 0;
        float height = 0;
        if (count != 2)
            return DISP_E_BADPARAMCOUNT;
        args.GetFloat(0, &width);
        args.GetFloat(1, &height);
        if (FAILED(args.Error()))
            return args.Error();
        host->SetSize(width, height);
        return NoResult(result);
    }
    case kToPixels: {
        float value = 0;
        if (count != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetFloat(0, &value)))
            return args.Error();
        out.SetInt(Pixels(value, host->GetScale()));
        return S_OK;
    }
    default:
        break;
    }
    if (id < kSetWindow || id > kGetTopLayer)
        return NodeProxy::Dispatch(id, params, result);
    if (count != 0)
        return DISP_E_BADPARAMCOUNT;
    switch (id) {
    case kCreateLayer: {
        out.SetDispatch(host->CreateLayerForProxy());
        return S_OK;
    }
    case kGetWidth: out.SetFloat(host->GetWidth()); return S_OK;
    case kGetHeight: out.SetFloat(host->GetHeight()); return S_OK;
    case kGetOffsetXPixels: out.SetInt(Pixels(host->GetOffsetX(), host->GetScale())); return S_OK;
    case kGetOffsetYPixels: out.SetInt(Pixels(host->GetOffsetY(), host->GetScale())); return S_OK;
    case kGetWidthPixels: out.SetInt(Pixels(host->GetWidth(), host->GetScale())); return S_OK;
    case kGetHeightPixels: out.SetInt(Pixels(host->GetHeight(), host->GetScale())); return S_OK;
    case kUpdateLayout: host->UpdateLayout(); return NoResult(result);
    case kBeginUpdate: host->BeginUpdate(true); return NoResult(result);
    case kEndUpdate: host->EndUpdate(true); return NoResult(result);
    case kIsUpdating: out.SetBool(host->IsUpdating()); return S_OK;
    case kFlushPendingUpdate: host->FlushPendingUpdate(); return NoResult(result);
    case kGetTopLayer: {
        LayerNode* layer = host->GetTopLayer();
        out.SetDispatch(layer ? layer->GetAutomationProxy() : nullptr);
        return S_OK;
    }
    default:
        return NodeProxy::Dispatch(id, params, result);
    }
}
