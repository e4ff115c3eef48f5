#pragma once
#include "addin/core/AddInSubObject.h"
#include "hostapi/OfficeInterfaces.h"
#include "base/MKComHolder.h"

class AddIn;
class MKString;
class RibbonExtension;

// The IDispatch through which Office calls the callbacks that the customUI
// text names (OnLoad, OnClick, GetLabel...): names resolve to fixed
// DISPIDs, and each control callback goes, by the id of its control, to the
// ribbon model's element with that id or else to the handler a plug-in
// registered for it. Keeps the IRibbonUI given to OnLoad for invalidating.
// Counts and other interfaces go to its extension, which owns it. No type
// information (E_NOTIMPL). Invoke runs inside the crash guard. PowerPoint's
// user-interface thread only.
class RibbonCallbacks final : public AddInSubObject<RibbonCallbacks, IDispatch, E_NOTIMPL> {
public:
    // {B97B9CAD-2124-4396-8868-4631AE947B56}
    static const IID kInterfaceId;

    RibbonCallbacks(RibbonExtension* owner, AddIn* addIn);
    RibbonCallbacks(const RibbonCallbacks&) = delete;
    RibbonCallbacks& operator=(const RibbonCallbacks&) = delete;

    // Asks Office to query every control again (empty id) or the one
    // control; nothing before OnLoad.
    void Invalidate(const MKString& controlId);
    bool HasRibbonUi() const { return bool(m_ribbonUi); }

    // Exact, case-sensitive names; DISP_E_MEMBERNOTFOUND at the first
    // unknown one (the ids before it are written).
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

private:
    friend AddInSubObject;
    // IDispatch and kInterfaceId; IUnknown comes from the add-in.
    bool AnswerOwn(REFIID iid, IUnknown** answer);
    HRESULT OnLoad(DISPPARAMS* params);
    HRESULT CallControl(DISPID id, DISPPARAMS* params, VARIANT* result);

    RibbonExtension* m_owner;
    MKComHolder<Office::IRibbonUI> m_ribbonUi;
    AddIn* m_addIn;
};
