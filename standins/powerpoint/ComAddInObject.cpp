#include "standins/powerpoint/ComAddInObject.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComAddInsObject.h"
#include "standins/powerpoint/ComValues.h"

#include <objbase.h>

namespace standin {

namespace {

// The custom argument of IDTExtensibility2: Office passes an empty array.
class CustomArray {
public:
    CustomArray() : m_array(SafeArrayCreateVector(VT_VARIANT, 0, 0)) {}
    ~CustomArray()
    {
        if (m_array)
            SafeArrayDestroy(m_array);
    }
    CustomArray(const CustomArray&) = delete;
    CustomArray& operator=(const CustomArray&) = delete;
    SAFEARRAY** Get() { return &m_array; }

private:
    SAFEARRAY* m_array;
};

}  // namespace

ComAddInObject::ComAddInObject(ComAddInsObject* owner, const OfficeAddInEntry& entry)
    : DispatchObject(L"COMAddIn", {Office::IID_COMAddIn, Office::IID_IMsoDispObj}), m_owner(owner), m_entry(entry)
{
}

ComAddInObject::~ComAddInObject()
{
    m_ribbon.reset();
    if (m_object)
        m_object->Release();
    if (m_extension)
        m_extension->Release();
    if (m_instance)
        m_instance->Release();
}

namespace {
ComAddInObject::ConnectingObserver s_connecting = nullptr;
}  // namespace

void ComAddInObject::SetConnectingObserver(ConnectingObserver observer)
{
    s_connecting = observer;
}

HRESULT ComAddInObject::ConnectAddIn(long connectMode)
{
    if (IsConnected())
        return S_OK;
    if (s_connecting)
        s_connecting(m_entry.progId);
    ApplicationObject* application = ApplicationObject::Current();
    if (!application)
        return E_UNEXPECTED;
    CLSID classId;
    HRESULT hr = CLSIDFromProgID(m_entry.progId.c_str(), &classId);
    IUnknown* instance = nullptr;
    if (SUCCEEDED(hr))
        hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&instance));
    Office::IDTExtensibility2* extension = nullptr;
    if (SUCCEEDED(hr))
        hr = instance->QueryInterface(Office::IID_IDTExtensibility2, reinterpret_cast<void**>(&extension));
    CallLog::Get().Note(L"AddIn.Create " + m_entry.progId + L" " + std::to_wstring(hr));
    if (FAILED(hr)) {
        if (instance)
            instance->Release();
        return hr;
    }
    // Connected from here on, so that the add-in sees Connect true inside
    // its OnConnection.
    m_instance = instance;
    m_extension = extension;
    AddRef();
    CustomArray custom;
    hr = extension->OnConnection(application->AsDispatch(), connectMode, this, custom.Get());
    CallLog::Get().Note(L"AddIn.OnConnection " + m_entry.progId + L" " + std::to_wstring(hr));
    if (FAILED(hr)) {
        m_extension = nullptr;
        m_instance = nullptr;
        LetGo(extension, instance);
        return hr;
    }
    if (application->MajorVersion() >= 12 && m_instance)
        m_ribbon = RibbonHost::Load(m_instance, L"Microsoft.PowerPoint.Presentation");
    Release();
    return S_OK;
}

void ComAddInObject::DisconnectAddIn(long removeMode)
{
    if (!IsConnected())
        return;
    Office::IDTExtensibility2* extension = m_extension;
    IUnknown* instance = m_instance;
    m_extension = nullptr;
    m_instance = nullptr;
    AddRef();
    CustomArray custom;
    HRESULT hr = extension->OnDisconnection(removeMode, custom.Get());
    CallLog::Get().Note(L"AddIn.OnDisconnection " + m_entry.progId + L" " + std::to_wstring(hr));
    m_ribbon.reset();
    LetGo(extension, instance);
}

void ComAddInObject::LetGo(Office::IDTExtensibility2* extension, IUnknown* instance)
{
    if (m_object) {
        m_object->Release();
        m_object = nullptr;
    }
    extension->Release();
    instance->Release();
    Release();
}

void ComAddInObject::CallAddInsUpdate()
{
    if (!m_extension)
        return;
    CustomArray custom;
    m_extension->OnAddInsUpdate(custom.Get());
}

void ComAddInObject::CallStartupComplete()
{
    if (!m_extension)
        return;
    CustomArray custom;
    m_extension->OnStartupComplete(custom.Get());
}

void ComAddInObject::CallBeginShutdown()
{
    if (!m_extension)
        return;
    CustomArray custom;
    m_extension->OnBeginShutdown(custom.Get());
}

HRESULT ComAddInObject::get_Application(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Application", result);
    return ApplicationObject::ReturnCurrent(result);
}

HRESULT ComAddInObject::get_Creator(long* result)
{
    return GetValue(L"get_Creator", ApplicationObject::kOfficeCreator, result);
}

HRESULT ComAddInObject::get_Description(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Description", result);
    // The text the COM add-ins dialog shows.
    return ReturnText(!m_entry.friendlyName.empty() ? m_entry.friendlyName : m_entry.description, result);
}

HRESULT ComAddInObject::put_Description(BSTR value)
{
    STANDIN_ENTER(L"put_Description");
    m_entry.friendlyName = TextFromBstr(value);
    return S_OK;
}

HRESULT ComAddInObject::get_ProgId(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_ProgId", result);
    return ReturnText(m_entry.progId, result);
}

HRESULT ComAddInObject::get_Guid(BSTR* result)
{
    STANDIN_ENTER_OUT(L"get_Guid", result);
    return ReturnText(ClassIdTextOfProgId(m_entry.progId), result);
}

HRESULT ComAddInObject::get_Connect(VARIANT_BOOL* result)
{
    return GetValue(L"get_Connect", IsConnected() ? VARIANT_TRUE : VARIANT_FALSE, result);
}

HRESULT ComAddInObject::put_Connect(VARIANT_BOOL value)
{
    STANDIN_ENTER(L"put_Connect");
    if ((value != VARIANT_FALSE) == IsConnected())
        return S_OK;
    AddRef();
    HRESULT hr = S_OK;
    if (value != VARIANT_FALSE) {
        hr = ConnectAddIn(Office::ext_cm_AfterStartup);
        if (SUCCEEDED(hr) && m_ribbon) {
            m_ribbon->CallOnLoad();
            m_ribbon->ShowControls();
        }
    } else {
        DisconnectAddIn(Office::ext_dm_UserClosed);
    }
    if (SUCCEEDED(hr) && m_owner)
        m_owner->NotifyAddInsUpdate();
    Release();
    return hr;
}

HRESULT ComAddInObject::get_Object(IDispatch** result)
{
    STANDIN_ENTER_OUT(L"get_Object", result);
    *result = m_object;
    if (m_object)
        m_object->AddRef();
    return S_OK;
}

HRESULT ComAddInObject::put_Object(IDispatch* value)
{
    STANDIN_ENTER(L"put_Object");
    if (value)
        value->AddRef();
    if (m_object)
        m_object->Release();
    m_object = value;
    return S_OK;
}

}  // namespace standin
