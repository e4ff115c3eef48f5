#include "addin/core/RibbonCallbacks.h"

#include <wchar.h>

#include "addin/core/AddInGuard.h"
#include "addin/core/DispArgs.h"
#include "addin/core/RibbonControlHandler.h"
#include "addin/core/RibbonExtension.h"
#include "addin/core/RibbonModel.h"
#include "base/BstrHolder.h"
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
// uses and the handler operation with the type its second argument must have
// (VT_EMPTY: none; VT_VARIANT: any).
struct Callback {
    const wchar_t* name;
    PlainCall plain;
    ArgumentCall withArgument;
    VARTYPE argumentType;
};

const Callback kCallbacks[kLastCallback] = {
    {L"OnClick", &Handler::OnClick, nullptr, VT_EMPTY},
    {L"GetEnabled", &Handler::GetEnabled, nullptr, VT_EMPTY},
    {L"GetVisible", &Handler::GetVisible, nullptr, VT_EMPTY},
    {L"GetPressed", &Handler::GetPressed, nullptr, VT_EMPTY},
    {L"GetDescription", &Handler::GetDescription, nullptr, VT_EMPTY},
    {L"GetImage", &Handler::GetImage, nullptr, VT_EMPTY},
    {L"GetLabel", &Handler::GetLabel, nullptr, VT_EMPTY},
    {L"GetShowImage", &Handler::GetShowImage, nullptr, VT_EMPTY},
    {L"GetShowLabel", &Handler::GetShowLabel, nullptr, VT_EMPTY},
    {L"GetKeyTip", &Handler::GetKeyTip, nullptr, VT_EMPTY},
    {L"GetScreenTip", &Handler::GetScreenTip, nullptr, VT_EMPTY},
    {L"GetSuperTip", &Handler::GetSuperTip, nullptr, VT_EMPTY},
    {L"GetText", &Handler::GetText, nullptr, VT_EMPTY},
    {L"OnChange", nullptr, &Handler::OnChange, VT_BSTR},
    {L"GetTitle", &Handler::GetTitle, nullptr, VT_EMPTY},
    {L"GetSize", &Handler::GetSize, nullptr, VT_EMPTY},
    {L"GetItemCount", &Handler::GetItemCount, nullptr, VT_EMPTY},
    {L"GetItemLabel", nullptr, &Handler::GetItemLabel, VT_I4},
    {L"GetItemScreenTip", nullptr, &Handler::GetItemScreenTip, VT_I4},
    {L"GetItemSuperTip", nullptr, &Handler::GetItemSuperTip, VT_I4},
    {L"GetItemImage", nullptr, &Handler::GetItemImage, VT_I4},
    {L"GetItemID", nullptr, &Handler::GetItemID, VT_I4},
    {L"GetContent", &Handler::GetContent, nullptr, VT_EMPTY},
    {L"GetSelectedItemID", &Handler::GetSelectedItemID, nullptr, VT_EMPTY},
    {L"GetSelectedItemIndex", &Handler::GetSelectedItemIndex, nullptr, VT_EMPTY},
    {L"GetItemWidth", &Handler::GetItemWidth, nullptr, VT_EMPTY},
    {L"GetItemHeight", &Handler::GetItemHeight, nullptr, VT_EMPTY},
    {L"OnLoad", nullptr, nullptr, VT_EMPTY},
    {L"LoadImage", nullptr, nullptr, VT_EMPTY},
    {L"OnToggleClick", nullptr, &Handler::OnToggleClick, VT_VARIANT},
    {L"OnItemClick", nullptr, nullptr, VT_EMPTY},
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
    BstrHolder id;
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
    BstrHolder id;
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
