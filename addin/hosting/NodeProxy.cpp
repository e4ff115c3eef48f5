#include "addin/hosting/NodeProxy.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/NodeObject.h"

#include <string.h>

namespace {

// {0612866E-AEB3-42D0-8BC4-F4CF7E1C4036}: what a plug-in's event sink answers.
const IID kNodeEventSinkIid = {0x0612866E, 0xAEB3, 0x42D0, {0x8B, 0xC4, 0xF4, 0xCF, 0x7E, 0x1C, 0x40, 0x36}};

uint32_t Word(REFIID iid, int index)
{
    uint32_t words[4];
    memcpy(words, &iid, sizeof(words));
    return words[index];
}

enum : DISPID {
    kDetach = -1,
    kClose = -2,
    kIsClosed = -3,
    kSetEventSink = -4,
    kGetId = -5,
    kGetName = -6,
    kSetName = -7,
};

}  // namespace

const IID NodeProxy::kNodeProxyIid = {0xCEF6A775, 0x65E0, 0x4551, {0x98, 0x0E, 0x6E, 0x67, 0x48, 0x82, 0xF9, 0x77}};

NodeProxy::NodeProxy(NodeObject* object, REFIID iid)
    : MKDispatchObject(Word(iid, 0), Word(iid, 1), Word(iid, 2), Word(iid, 3)), m_object(object)
{
}

HRESULT STDMETHODCALLTYPE NodeProxy::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || AnswersInterface(iid)) {
        AddRef();
        *out = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

bool NodeProxy::AnswersInterface(REFIID iid) const
{
    return iid == InterfaceId() || iid == kNodeProxyIid;
}

HRESULT NodeProxy::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    if (id == kIsClosed) {
        HRESULT hr = CheckCount(params, 0);
        if (SUCCEEDED(hr))
            DispResult(result).SetBool(m_object == nullptr);
        return hr;
    }
    if (!m_object)
        return E_FAIL;
    // The call may close the object and so release this proxy: it stays
    // alive until the call is over.
    AddRef();
    const HRESULT hr = Dispatch(id, params, result);
    Release();
    return hr;
}

HRESULT NodeProxy::CheckCount(DISPPARAMS* params, UINT count)
{
    return DispArgs(params).Count() == count ? S_OK : DISP_E_BADPARAMCOUNT;
}

HRESULT NodeProxy::NoResult(VARIANT* result)
{
    if (result)
        VariantClear(result);
    return S_OK;
}

HRESULT NodeProxy::Dispatch(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    DispArgs args(params);
    switch (id) {
    case kDetach:
    case kClose:
        if (FAILED(CheckCount(params, 0)))
            return DISP_E_BADPARAMCOUNT;
        if (id == kDetach)
            m_object->Detach();
        else
            m_object->Close();
        return NoResult(result);
    case kSetEventSink: {
        IDispatch* sink = nullptr;
        if (FAILED(CheckCount(params, 1)))
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetDispatch(0, &sink)))
            return args.Error();
        if (!sink) {
            m_object->SetEventSink(nullptr);
            return NoResult(result);
        }
        INodeEventSink* events = nullptr;
        if (SUCCEEDED(sink->QueryInterface(kNodeEventSinkIid, reinterpret_cast<void**>(&events))) && events) {
            m_object->SetEventSink(events);
            events->Release();
        }
        return NoResult(result);
    }
    case kGetId:
        if (FAILED(CheckCount(params, 0)))
            return DISP_E_BADPARAMCOUNT;
        DispResult(result).SetInt64(int64_t(intptr_t(m_object)));
        return S_OK;
    case kGetName:
        if (FAILED(CheckCount(params, 0)))
            return DISP_E_BADPARAMCOUNT;
        return DispResult(result).SetString(m_object->GetName());
    case kSetName: {
        MKString name;
        if (FAILED(CheckCount(params, 1)))
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(args.GetString(0, &name)))
            return args.Error();
        m_object->SetName(name);
        return NoResult(result);
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
