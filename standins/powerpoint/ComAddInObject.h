#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/OfficeAddInEntries.h"
#include "standins/powerpoint/RibbonHost.h"

#include <memory>

namespace standin {

class ComAddInsObject;

// One item of Application.COMAddIns. Connecting it creates the registered
// class from the registry (CoCreateInstance), drives the add-in's
// IDTExtensibility2 and, from PowerPoint 12 on, loads its ribbon. The owner
// pointer is not counted; the owner detaches its items before it goes.
class ComAddInObject : public DispatchObject<Office::COMAddIn> {
public:
    ComAddInObject(ComAddInsObject* owner, const OfficeAddInEntry& entry);

    void Detach() { m_owner = nullptr; }
    const OfficeAddInEntry& Entry() const { return m_entry; }
    void SetEntry(const OfficeAddInEntry& entry) { m_entry = entry; }

    bool IsConnected() const { return m_extension != nullptr; }
    // Called with the ProgID just before any add-in of the process is
    // created to connect (to see the files it reads at its start before it
    // takes them); none when null. The thread of the add-ins only.
    using ConnectingObserver = void (*)(const std::wstring& progId);
    static void SetConnectingObserver(ConnectingObserver observer);
    // Creates the class, calls OnConnection with the mode and asks for the
    // ribbon's XML. A failure leaves the add-in unconnected and is answered.
    HRESULT ConnectAddIn(long connectMode);
    // OnDisconnection with the mode; the ribbon, Object and the add-in go.
    void DisconnectAddIn(long removeMode);
    void CallAddInsUpdate();
    void CallStartupComplete();
    void CallBeginShutdown();

    // The connected add-in's object (IUnknown) and ribbon, or null.
    IUnknown* Instance() const { return m_instance; }
    RibbonHost* Ribbon() const { return m_ribbon.get(); }

    HRESULT STDMETHODCALLTYPE get_Application(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_Creator(long* result) override;
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE put_Description(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_ProgId(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Guid(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE get_Connect(VARIANT_BOOL* result) override;
    HRESULT STDMETHODCALLTYPE put_Connect(VARIANT_BOOL value) override;
    HRESULT STDMETHODCALLTYPE get_Object(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE put_Object(IDispatch* value) override;

protected:
    ~ComAddInObject() override;

private:
    // Ends a connection (or a failed attempt) once the add-in's members are
    // cleared: drops its object, releases the extension and the instance,
    // then the reference taken for the call (which may delete this object).
    void LetGo(Office::IDTExtensibility2* extension, IUnknown* instance);
    ComAddInsObject* m_owner;
    OfficeAddInEntry m_entry;
    IUnknown* m_instance = nullptr;
    Office::IDTExtensibility2* m_extension = nullptr;
    IDispatch* m_object = nullptr;
    std::unique_ptr<RibbonHost> m_ribbon;
};

}  // namespace standin
