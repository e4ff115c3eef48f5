#include "addin/hosting/LayerNodeProxy.h"

#include "addin/core/DispResult.h"
#include "addin/hosting/LayerNode.h"

const IID LayerNodeProxy::kIid = {0x4CC18AD7, 0xFADE, 0x4E26, {0xBA, 0xB6, 0xC5, 0x2E, 0x1F, 0xBA, 0x34, 0xF7}};

LayerNodeProxy::LayerNodeProxy(LayerNode* node) : ContainerNodeProxy(node, kIid) {}

bool LayerNodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == kIid || ContainerNodeProxy::AnswersInterface(iid);
}

HRESULT LayerNodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    if (id != 200)
        return ContainerNodeProxy::Dispatch(id, params, result);
    if (FAILED(CheckCount(params, 0)))
        return DISP_E_BADPARAMCOUNT;
    DispResult(result).SetBool(static_cast<LayerNode*>(GetObject())->IsTopmost());
    return S_OK;
}
