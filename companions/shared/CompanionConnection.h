#pragma once
#include "addin/core/AddInSubObject.h"
#include "base/MKComHolder.h"
#include "hostapi/OfficeInterfaces.h"

class CompanionAddIn;

// A companion add-in's IDTExtensibility2: a sub-object of the add-in whose
// count and identity are the controlling object's, which must outlive it. It
// keeps Application and AddInInst from OnConnection to OnDisconnection and
// hands each connection to the add-in; start-up and shut-down ask nothing of
// it. No automation (E_FAIL). Office calls
// it on PowerPoint's user-interface thread; OnConnection and OnDisconnection
// answer E_UNEXPECTED after a fault.
class CompanionConnection final : public AddInSubObject<CompanionConnection, Office::IDTExtensibility2, E_FAIL> {
public:
    CompanionConnection(IUnknown* outer, CompanionAddIn* addIn) : AddInSubObject(outer), m_addIn(addIn) {}

    // Keeps Application and AddInInst and hands them to the add-in; S_OK
    // whatever the add-in made of it (E_POINTER without an Application).
    HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, long connectMode, IDispatch* addInInst,
                                           SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnDisconnection(long removeMode, SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
    HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

private:
    friend AddInSubObject;
    // IDispatch and IDTExtensibility2; IUnknown comes from the controlling
    // object.
    bool AnswerOwn(REFIID iid, IUnknown** answer);

    CompanionAddIn* m_addIn;
    MKComHolder<IDispatch> m_application;
    MKComHolder<IDispatch> m_addInInst;
};
