#include "addin/core/RibbonCallbacks.h"

#include <wchar.h>

#include "addin/core/AddInGuard.h"
#include "addin/core/DispArgs.h"
#include "addin/core/RibbonControlHandler.h"
#include "addin/core/RibbonExtension.h"
#include "addin/core/RibbonModel.h"
#include "base/MKBstrHolder.h"
#include "base/MKString.h"

const IID RibbonCallbacks::kInterfaceId = {0xB97B9CAD, 0x2124, 0x4396, {0x88, 0x68, 0x46, 0x31, 0xAE, 0x94, 0x7B, 0x56}};

namespace {

enum : DISPID {
    kOnClick = 1,
    kGetItemImage = 21,
    kOnLoad = 28,
    kLoadImage = 29,
    kOnItemClick = 31,
    kLastCallback = 31,
};

using Handler = RibbonControlHandler;
using PlainCall = HRESULT (Handler::*)(VARIANT*);
using ArgumentCall = HRESULT (Handler::*)(VARIANT*, VARIANT*);

// One callback by its DISPID (its position + 1): the name the customUI text
// uses and the handler operation, with the type its second argument must have
// (VT_VARIANT: any). OnLoad, LoadImage and OnItemClick have no row operation.
struct Callback {
    constexpr explicit Callback(const wchar_t* callbackName) : name(callbackName) {}
    constexpr Callback(const wchar_t* callbackName, PlainCall call) : name(callbackName), plain(call) {}
    constexpr Callback(const wchar_t* callbackName, ArgumentCall call, VARTYPE type)
        : name(callbackName), withArgument(call), argumentType(type)
    {
    }

    const wchar_t* name;
    PlainCall plain = nullptr;
    ArgumentCall withArgument = nullptr;
    VARTYPE argumentType = VT_EMPTY;
};

const Callback kCallbacks[kLastCallback] = {
    {L"OnClick", &Handler::OnClick},
    {L"GetEnabled", &Handler::GetEnabled},
    {L"GetVisible", &Handler::GetVisible},
    {L"GetPressed", &Handler::GetPressed},
    {L"GetDescription", &Handler::GetDescription},
    {L"GetImage", &Handler::GetImage},
    {L"GetLabel", &Handler::GetLabel},
    {L"GetShowImage", &Handler::GetShowImage},
    {L"GetShowLabel", &Handler::GetShowLabel},
    {L"GetKeyTip", &Handler::GetKeyTip},
    {L"GetScreenTip", &Handler::GetScreenTip},
    {L"GetSuperTip", &Handler::GetSuperTip},
    {L"GetText", &Handler::GetText},
    {L"OnChange", &Handler::OnChange, VT_BSTR},
    {L"GetTitle", &Handler::GetTitle},
    {L"GetSize", &Handler::GetSize},
    {L"GetItemCount", &Handler::GetItemCount},
    {L"GetItemLabel", &Handler::GetItemLabel, VT_I4},
    {L"GetItemScreenTip", &Handler::GetItemScreenTip, VT_I4},
    {L"GetItemSuperTip", &Handler::GetItemSuperTip, VT_I4},
    {L"GetItemImage", &Handler::GetItemImage, VT_I4},
    {L"GetItemID", &Handler::GetItemID, VT_I4},
    {L"GetContent", &Handler::GetContent},
    {L"GetSelectedItemID", &Handler::GetSelectedItemID},
    {L"GetSelectedItemIndex", &Handler::GetSelectedItemIndex},
    {L"GetItemWidth", &Handler::GetItemWidth},
    {L"GetItemHeight", &Handler::GetItemHeight},
    Callback(L"OnLoad"),
    Callback(L"LoadImage"),
    {L"OnToggleClick", &Handler::OnToggleClick, VT_VARIANT},
    Callback(L"OnItemClick"),
};

// The control's Id; empty when it is no ribbon control.
MKString ReadControlId(IDispatch* control)
{
    Office::IRibbonControl* ribbonControl = nullptr;
    if (FAILED(control->QueryInterface(Office::IID_IRibbonControl, reinterpret_cast<void**>(&ribbonControl))) ||
        !ribbonControl)
        return MKString();
    MKComHolder<Office::IRibbonControl> held;
    held.Attach(ribbonControl);
    MKBstrHolder id;
    if (FAILED(held->get_Id(id.Receive())))
        return MKString();
    return id.ToString();
}

}  // namespace

RibbonCallbacks::RibbonCallbacks(RibbonExtension* owner, AddIn* addIn)
    : AddInSubObject(owner), m_owner(owner), m_addIn(addIn)
{
}

void RibbonCallbacks::Invalidate(const MKString& controlId)
{
    if (!m_ribbonUi)
        return;
    if (controlId.IsEmpty()) {
        m_ribbonUi->Invalidate();
        return;
    }
    MKBstrHolder id;
    *id.Receive() = controlId.ToBstr();
    if (id.Get())
        m_ribbonUi->InvalidateControl(id.Get());
}

bool RibbonCallbacks::AnswerOwn(REFIID iid, IUnknown** answer)
{
    if (iid != IID_IDispatch && iid != kInterfaceId)
        return false;
    *answer = this;
    return true;
}

HRESULT RibbonCallbacks::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (count > 0 && (!names || !ids))
        return E_POINTER;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (DISPID id = 1; id <= kLastCallback && names[i]; ++id) {
            if (wcscmp(names[i], kCallbacks[id - 1].name) == 0) {
                ids[i] = id;
                break;
            }
        }
        if (ids[i] == DISPID_UNKNOWN)
            return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

HRESULT RibbonCallbacks::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                UINT*)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (id < kOnClick || id > kLastCallback)
            return E_NOTIMPL;
        if (id == kOnLoad)
            return OnLoad(params);
        // Office's loadImage passes an image name, not a control; the
        // customUI text names no loadImage callback.
        if (id == kLoadImage)
            return S_OK;
        return CallControl(id, params, result);
    });
}

HRESULT RibbonCallbacks::OnLoad(DISPPARAMS* params)
{
    DispArgs args(params);
    if (args.Count() != 1)
        return DISP_E_BADPARAMCOUNT;
    IDispatch* ui = nullptr;
    if (FAILED(args.GetDispatch(0, &ui)))
        return DISP_E_BADVARTYPE;
    if (!ui)
        return E_INVALIDARG;
    Office::IRibbonUI* ribbonUi = nullptr;
    if (FAILED(ui->QueryInterface(Office::IID_IRibbonUI, reinterpret_cast<void**>(&ribbonUi))))
        ribbonUi = nullptr;
    m_ribbonUi.Attach(ribbonUi);
    return S_OK;
}

HRESULT RibbonCallbacks::CallControl(DISPID id, DISPPARAMS* params, VARIANT* result)
{
    DispArgs args(params);
    if (args.Count() < 1)
        return DISP_E_BADPARAMCOUNT;
    IDispatch* control = nullptr;
    if (FAILED(args.GetDispatch(0, &control)))
        return DISP_E_BADVARTYPE;
    if (!control)
        return E_INVALIDARG;

    RibbonModel* model = m_owner->GetModel();
    RibbonControlHandler* target = model ? model->FindTarget(ReadControlId(control)) : nullptr;
    if (!target)
        return E_FAIL;

    const Callback& callback = kCallbacks[id - 1];
    if (id == kOnItemClick) {
        if (args.Count() != 3)
            return DISP_E_BADPARAMCOUNT;
        return target->OnItemClick(result, args.At(1), args.At(2));
    }
    if (callback.plain) {
        if (args.Count() != 1)
            return DISP_E_BADPARAMCOUNT;
        return (target->*callback.plain)(result);
    }
    if (args.Count() != 2)
        return DISP_E_BADPARAMCOUNT;
    if (callback.argumentType != VT_VARIANT && args.TypeAt(1) != callback.argumentType)
        return DISP_E_BADVARTYPE;
    HRESULT hr = (target->*callback.withArgument)(result, args.At(1));
    // Office wants an image object for every item, null when there is none.
    if (id == kGetItemImage && result && result->vt == VT_EMPTY) {
        result->vt = VT_DISPATCH;
        result->pdispVal = nullptr;
    }
    return hr;
}
