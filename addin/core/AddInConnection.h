#pragma once
#include "addin/core/PowerPointInterfaces.h"
#include "base/MKComHolder.h"

class AddIn;
class AppEventSink;
class OfficeInfo;

// The add-in's IDTExtensibility2: Office connects the add-in, reports that
// its start-up is complete, begins to shut down and disconnects it. A
// sub-object of the add-in: its IUnknown is the add-in's controlling object,
// so both share one reference count; the add-in creates and deletes it.
// Every method runs inside the crash guard and answers E_UNEXPECTED after a
// caught failure. PowerPoint's user-interface thread only.
class AddInConnection final : public Office::IDTExtensibility2 {
public:
    explicit AddInConnection(AddIn* owner);
    virtual ~AddInConnection();
    AddInConnection(const AddInConnection&) = delete;
    AddInConnection& operator=(const AddInConnection&) = delete;

    // Kept from OnConnection to OnDisconnection; no reference taken.
    PowerPoint::Application* GetApplication() const { return m_application.Get(); }
    OfficeInfo* GetOfficeInfo() const { return m_office; }
    // PowerPoint's application events; null when it could not be made.
    AppEventSink* GetEventSink() const { return m_events; }
    // The start-up sequence has run for the current connection.
    bool IsStarted() const { return m_started; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // No type information and no members by name: E_FAIL.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    // A connection made after PowerPoint's start (any mode but start-up)
    // runs the start-up sequence at once. Null application: E_POINTER.
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    // The shut-down steps, again through OnBeginShutdown unless PowerPoint
    // itself shuts down; then PowerPoint's objects are let go and a later
    // OnConnection starts over.
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    // The start-up sequence, once per connection.
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    // PowerPoint's version, the Office installation and Office's languages
    // into the environment record, where the first connection of the
    // process puts them.
    void ReadHostFacts();
    void RunShutdownSteps();

    AddIn* m_owner;
    MKComHolder<PowerPoint::Application> m_application;
    MKComHolder<IDispatch> m_addInInstance;
    bool m_started = false;
    AppEventSink* m_events = nullptr;
    OfficeInfo* m_office = nullptr;
};
