#include "addin/core/WebMessageObject.h"

#include "addin/core/DispArgs.h"
#include "addin/core/DispResult.h"
#include "addin/core/MessageCodec.h"
#include "addin/core/ValueTree.h"
#include "addin/core/WebRequest.h"
#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKCoTaskMemBuffer.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKMemoryRange.h"

#include <new>
#include <string.h>

const IID WebMessageObject::kIdentity = {
    0x0880D36F, 0x00C7, 0x411C, {0x81, 0xA7, 0xDB, 0xC3, 0xCE, 0xA1, 0x68, 0x10}};

WebMessageObject::WebMessageObject() : MKDispatchObject(0x0880D36F, 0x411C00C7, 0xC3DBA781, 0x1068A1CE) {}

WebMessageObject::~WebMessageObject()
{
    Close();
    if (m_tree)
        m_tree->Release();
}

bool WebMessageObject::ReadRequestTree(int64_t address, int32_t length)
{
    // A 32-bit process: the caller may have widened the address with its sign.
    const void* bytes = reinterpret_cast<const void*>(static_cast<UINT_PTR>(static_cast<uint32_t>(address)));
    // The address comes from the .NET side: look before reading.
    if (!bytes || length < 1 || !MKIsReadableRange(bytes, static_cast<size_t>(length)))
        return false;
    MKMemInStream stream(bytes, length);
    MKBinaryReader reader(&stream);
    ValueTree* tree = ValueTree::ReadBinary(reader);
    if (!tree)
        return false;
    if (tree->IsLeaf()) {
        tree->Release();
        return false;
    }
    if (m_tree)
        m_tree->Release();
    m_tree = tree;
    return true;
}

bool WebMessageObject::Send()
{
    if (m_request)
        return true;
    if (!m_tree)
        return false;
    m_request = new (std::nothrow) WebRequest(m_url, m_tree, MessageCodec::kRequestKey, MessageCodec::kResponseKey,
                                              false);
    if (!m_request)
        return false;
    if (m_request->Send())
        return true;
    // Kept, a refused request would answer every later send as a success
    // while nothing is ever sent.
    Close();
    return false;
}

void WebMessageObject::Close()
{
    delete m_request;
    m_request = nullptr;
}

bool WebMessageObject::WriteResponse(int64_t* address, int32_t* length) const
{
    ValueTree* tree = m_request ? m_request->GetResponse() : nullptr;
    if (!tree)
        return false;
    MKMemOutStream stream;
    MKBinaryWriter writer(&stream);
    bool written = tree->WriteBinary(writer);
    tree->Release();
    MKCoTaskMemBuffer block;
    if (!written || !block.Allocate(stream.GetCount() > 0 ? stream.GetCount() : 1))
        return false;
    memcpy(block.Data(), stream.GetData(), static_cast<size_t>(stream.GetCount()));
    *length = stream.GetCount();
    *address = static_cast<int64_t>(reinterpret_cast<UINT_PTR>(block.Detach()));
    return true;
}

HRESULT WebMessageObject::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    DispArgs args(params);
    DispResult out(result);
    // Argument counts by DISPID.
    const UINT counts[] = {0, 1, 2, 0, 0, 0, 0, 0, 0, 2};
    if (id < 1 || id > 9)
        return DISP_E_MEMBERNOTFOUND;
    if (args.Count() != counts[id])
        return DISP_E_BADPARAMCOUNT;
    switch (id) {
    case 1:
        return args.GetString(0, &m_url);
    case 2: {
        int64_t address = 0;
        int32_t length = 0;
        args.GetInt64(0, &address);
        args.GetInt(1, &length);
        if (FAILED(args.Error()))
            return args.Error();
        out.SetBool(ReadRequestTree(address, length));
        return S_OK;
    }
    case 3:
        return out.SetString(m_tree ? m_tree->ToQueryText(MessageCodec::kQueryTextKey) : MKString());
    case 4:
        out.SetBool(Send());
        return S_OK;
    case 5:
        Close();
        return S_OK;
    case 6:
        out.SetBool(m_request && m_request->IsBusy());
        return S_OK;
    case 7:
        out.SetBool(m_request && m_request->IsDone());
        return S_OK;
    case 8:
        out.SetInt(m_request ? m_request->GetStatus() : 0);
        return S_OK;
    case 9: {
        int64_t* address = nullptr;
        int32_t* length = nullptr;
        args.GetInt64Ref(0, &address);
        args.GetIntRef(1, &length);
        if (FAILED(args.Error()))
            return args.Error();
        if (!address || !length)
            return E_POINTER;
        *address = 0;
        *length = -1;
        WriteResponse(address, length);
        return S_OK;
    }
    }
    return DISP_E_MEMBERNOTFOUND;
}
