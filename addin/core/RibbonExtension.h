#pragma once
#include "addin/core/AddInSubObject.h"
#include "hostapi/OfficeInterfaces.h"

class AddIn;
class RibbonCallbacks;
class RibbonModel;

// The add-in's IRibbonExtensibility: Office asks it for the customUI text of
// the ribbon model, and reaches the ribbon callbacks by asking it for
// IDispatch. A sub-object of the add-in: counts and every other interface go
// to the add-in's controlling object (`outer`, which must outlive it). Owns
// its RibbonCallbacks. The extension itself offers no automation (E_FAIL).
// QueryInterface and GetCustomUI run inside the crash guard. PowerPoint's
// user-interface thread only.
class RibbonExtension final : public AddInSubObject<RibbonExtension, Office::IRibbonExtensibility, E_FAIL> {
public:
    // addIn names the add-in in crash records; it may be null.
    RibbonExtension(IUnknown* outer, AddIn* addIn);
    virtual ~RibbonExtension();
    RibbonExtension(const RibbonExtension&) = delete;
    RibbonExtension& operator=(const RibbonExtension&) = delete;

    // The model whose text Office gets and whose elements and plug-in
    // handlers answer the callbacks; null until the plug-in manager exists.
    // Not owned; it must outlive its use here.
    void SetModel(RibbonModel* model) { m_model = model; }
    RibbonModel* GetModel() const { return m_model; }
    // Null when it could not be made.
    RibbonCallbacks* GetCallbacks() const { return m_callbacks; }
    AddIn* GetAddIn() const { return m_addIn; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    // Every ribbon gets the same text, whatever its id. E_FAIL without a
    // model, E_OUTOFMEMORY when the text cannot be made.
    HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR ribbonId, BSTR* ribbonXml) override;

private:
    friend AddInSubObject;
    // IRibbonExtensibility, and IDispatch with the callbacks (how Office
    // reaches them); IUnknown comes from the controlling object.
    bool AnswerOwn(REFIID iid, IUnknown** answer);

    AddIn* m_addIn;
    RibbonModel* m_model = nullptr;
    RibbonCallbacks* m_callbacks;
};
