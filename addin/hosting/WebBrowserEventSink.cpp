#include "addin/hosting/WebBrowserEventSink.h"

#include "addin/core/DispArgs.h"

#include <exdispid.h>
#include <initializer_list>

namespace {

// A by-reference text argument (URL, target frame, headers): a variant
// holding nothing or a string.
HRESULT CheckText(DispArgs& args, UINT position)
{
    VARIANT* value = nullptr;
    HRESULT hr = args.GetVariantRef(position, &value);
    if (FAILED(hr))
        return hr;
    return value && (value->vt == VT_EMPTY || value->vt == VT_BSTR) ? S_OK : DISP_E_BADVARTYPE;
}

// A by-reference number argument (flags, status code): nothing or VT_I4.
HRESULT CheckNumber(DispArgs& args, UINT position)
{
    VARIANT* value = nullptr;
    HRESULT hr = args.GetVariantRef(position, &value);
    if (FAILED(hr))
        return hr;
    return value && (value->vt == VT_EMPTY || value->vt == VT_I4) ? S_OK : DISP_E_BADVARTYPE;
}

// Post data: nothing, or a further by-reference variant read as text.
HRESULT CheckPostData(DispArgs& args, UINT position)
{
    VARIANT* value = nullptr;
    HRESULT hr = args.GetVariantRef(position, &value);
    if (FAILED(hr))
        return hr;
    if (value && value->vt == VT_EMPTY)
        return S_OK;
    if (!value || value->vt != (VT_BYREF | VT_VARIANT) || !value->pvarVal)
        return DISP_E_BADVARTYPE;
    const VARTYPE inner = value->pvarVal->vt;
    return inner == VT_EMPTY || inner == VT_BSTR ? S_OK : DISP_E_BADVARTYPE;
}

// Sets the cancel flag at position once every argument before it has passed.
HRESULT SetCancel(DispArgs& args, UINT position, HRESULT checked, VARIANT_BOOL cancel)
{
    if (FAILED(checked))
        return checked;
    VARIANT_BOOL* flag = nullptr;
    HRESULT hr = args.GetBoolRef(position, &flag);
    if (FAILED(hr))
        return hr;
    *flag = cancel;
    return S_OK;
}

HRESULT FirstFailure(std::initializer_list<HRESULT> results)
{
    for (HRESULT hr : results) {
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

}  // namespace

WebBrowserEventSink::WebBrowserEventSink()
    : MKDispatchObject(0x34A715A0, 0x11D06587, 0x20004A92, 0x4DACC7AF)
{
}

HRESULT WebBrowserEventSink::HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT*)
{
    DispArgs args(params);
    auto count = [&](UINT expected) { return args.Count() == expected ? S_OK : DISP_E_BADPARAMCOUNT; };
    MKString text;
    int32_t number = 0;
    bool flag = false;
    IDispatch* browser = nullptr;
    switch (id) {
    case DISPID_STATUSTEXTCHANGE:
    case DISPID_PROPERTYCHANGE:
    case DISPID_TITLECHANGE:
        return FirstFailure({count(1), args.GetString(0, &text)});
    case DISPID_DOWNLOADCOMPLETE:
    case DISPID_DOWNLOADBEGIN:
    case DISPID_ONQUIT:
        return count(0);
    case DISPID_COMMANDSTATECHANGE:
        if (FAILED(count(2)))
            return DISP_E_BADPARAMCOUNT;
        args.GetInt(0, &number);
        args.GetBool(1, &flag);
        return args.Error();
    case DISPID_PROGRESSCHANGE:
    case DISPID_WINDOWSTATECHANGED:
        if (FAILED(count(2)))
            return DISP_E_BADPARAMCOUNT;
        return id == DISPID_PROGRESSCHANGE ? S_OK : DISP_E_MEMBERNOTFOUND;
    case DISPID_PRINTTEMPLATEINSTANTIATION:
    case DISPID_PRINTTEMPLATETEARDOWN:
    case DISPID_UPDATEPAGESTATUS:
    case DISPID_WINDOWCLOSING:
    case DISPID_CLIENTTOHOSTWINDOW:
    case DISPID_PRIVACYIMPACTEDSTATECHANGE:
        return S_OK;
    case DISPID_NEWWINDOW2:
        // (window out, cancel)
        return SetCancel(args, 1, count(2), VARIANT_TRUE);
    case DISPID_NEWWINDOW3:
        // (window out, cancel, flags, referring URL, URL)
        return SetCancel(args, 1, count(5), VARIANT_TRUE);
    case DISPID_BEFORENAVIGATE2:
        if (FAILED(count(7)))
            return DISP_E_BADPARAMCOUNT;
        args.GetDispatch(0, &browser);
        return SetCancel(args, 6,
                         FirstFailure({args.Error(), CheckText(args, 1), CheckNumber(args, 2), CheckText(args, 3),
                                       CheckPostData(args, 4), CheckText(args, 5)}),
                         VARIANT_FALSE);
    case DISPID_NAVIGATECOMPLETE2:
    case DISPID_DOCUMENTCOMPLETE:
        if (FAILED(count(2)))
            return DISP_E_BADPARAMCOUNT;
        args.GetDispatch(0, &browser);
        return FirstFailure({args.Error(), CheckText(args, 1)});
    case DISPID_ONVISIBLE:
    case DISPID_ONTOOLBAR:
    case DISPID_ONMENUBAR:
    case DISPID_ONSTATUSBAR:
    case DISPID_ONFULLSCREEN:
    case DISPID_ONTHEATERMODE:
        return FirstFailure({count(1), args.GetBool(0, &flag)});
    case DISPID_WINDOWSETRESIZABLE:
    case DISPID_WINDOWSETLEFT:
    case DISPID_WINDOWSETTOP:
    case DISPID_WINDOWSETWIDTH:
    case DISPID_WINDOWSETHEIGHT:
    case DISPID_SETSECURELOCKICON:
    case DISPID_SETPHISHINGFILTERSTATUS:
        return count(1);
    case DISPID_FILEDOWNLOAD:
        if (FAILED(count(2)))
            return DISP_E_BADPARAMCOUNT;
        args.GetBool(0, &flag);
        return SetCancel(args, 1, args.Error(), VARIANT_FALSE);
    case DISPID_NAVIGATEERROR:
        if (FAILED(count(5)))
            return DISP_E_BADPARAMCOUNT;
        args.GetDispatch(0, &browser);
        return SetCancel(args, 4,
                         FirstFailure({args.Error(), CheckText(args, 1), CheckText(args, 2), CheckNumber(args, 3)}),
                         VARIANT_FALSE);
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
