#include "player/app/framework/MKCFlashWnd.h"

#include "base/MKTOArray.h"
#include "hostapi/FlashInterfaces.h"
#include "player/app/framework/MKCFlashHooked.h"
#include "player/app/framework/MKControlSite.h"

#include <new>
#include <ole2.h>

namespace {

// A whole part of decimal digits that fits an int; -1 otherwise.
int PartNumber(const MKString& part)
{
    int n = part.GetLength();
    if (n < 1 || n > 9)
        return -1;
    int value = 0;
    for (int i = 0; i < n; ++i) {
        if (part[i] < '0' || part[i] > '9')
            return -1;
        value = value * 10 + (part[i] - '0');
    }
    return value;
}

// The REG_SZ value of HKLM\SOFTWARE\Microsoft\<path>; false when absent.
bool ReadMicrosoftString(const char* path, const char* name, MKString& out)
{
    HKEY microsoft = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", 0, KEY_READ, &microsoft) != ERROR_SUCCESS)
        return false;
    HKEY key = nullptr;
    bool read = false;
    if (RegOpenKeyExA(microsoft, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        char text[256];
        DWORD type = 0;
        DWORD size = sizeof text - 1;
        if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS &&
            type == REG_SZ) {
            text[size] = 0;
            out = text;
            read = true;
        }
        RegCloseKey(key);
    }
    RegCloseKey(microsoft);
    return read;
}

}  // namespace

MKCFlashWnd::MKCFlashWnd() = default;

MKCFlashWnd::~MKCFlashWnd()
{
    Destroy();
}

bool MKCFlashWnd::Create(const char*, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    Destroy();
    MKControlSite* site = new (std::nothrow) MKControlSite();
    if (!site)
        return false;
    if (FAILED(site->Create(CLSID_ShockwaveFlash, parent, rect, style, id))) {
        site->Release();
        return false;
    }
    m_site = site;
    m_window = site->ControlWindow();
    m_hook = new (std::nothrow) MKCFlashHooked(this);
    if (m_hook)
        m_hook->Attach(m_window);
    return true;
}

void MKCFlashWnd::Destroy()
{
    delete m_hook;
    m_hook = nullptr;
    if (m_site) {
        m_site->Destroy();
        m_site->Release();
        m_site = nullptr;
    }
    m_window = nullptr;
}

void MKCFlashWnd::Move(const RECT& rect)
{
    if (m_site)
        m_site->Move(rect);
}

bool MKCFlashWnd::Call(DISPID id, WORD kind, VARIANT* argument, VARIANT* result)
{
    IDispatch* dispatch = m_site ? m_site->Dispatch() : nullptr;
    if (!dispatch)
        return false;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {argument, nullptr, argument ? 1u : 0u, 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    return SUCCEEDED(dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr));
}

bool MKCFlashWnd::GetPlaying()
{
    VARIANT result;
    VariantInit(&result);
    bool playing = Call(kFlashDispPlaying, DISPATCH_PROPERTYGET, nullptr, &result) &&
                   SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL)) && result.boolVal != VARIANT_FALSE;
    VariantClear(&result);
    return playing;
}

void MKCFlashWnd::SetMovie(const char* text)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = MKString(text).ToBstr();
    Call(kFlashDispMovie, DISPATCH_PROPERTYPUT, &argument, nullptr);
    VariantClear(&argument);
}

void MKCFlashWnd::SetLoop(bool on)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BOOL;
    argument.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    Call(kFlashDispLoop, DISPATCH_PROPERTYPUT, &argument, nullptr);
}

void MKCFlashWnd::SetPlaying(bool on)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BOOL;
    argument.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    Call(kFlashDispPlaying, DISPATCH_PROPERTYPUT, &argument, nullptr);
}

void MKCFlashWnd::SetScaleMode(int mode)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = mode;
    Call(kFlashDispScaleMode, DISPATCH_PROPERTYPUT, &argument, nullptr);
}

void MKCFlashWnd::SetBackgroundColor(int colour)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = colour;
    Call(kFlashDispBackgroundColor, DISPATCH_PROPERTYPUT, &argument, nullptr);
}

void MKCFlashWnd::SetQuality2(const char* quality)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = MKString(quality).ToBstr();
    Call(kFlashDispQuality2, DISPATCH_PROPERTYPUT, &argument, nullptr);
    VariantClear(&argument);
}

void MKCFlashWnd::Play()
{
    Call(kFlashDispPlay, DISPATCH_METHOD, nullptr, nullptr);
}

void MKCFlashWnd::Stop()
{
    Call(kFlashDispStop, DISPATCH_METHOD, nullptr, nullptr);
}

void MKCFlashWnd::GotoFrame(int frame)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_I4;
    argument.lVal = frame;
    Call(kFlashDispGotoFrame, DISPATCH_METHOD, &argument, nullptr);
}

int MKCFlashWnd::CallForInt(DISPID id)
{
    VARIANT result;
    VariantInit(&result);
    int value = 0;
    if (Call(id, DISPATCH_METHOD, nullptr, &result) && SUCCEEDED(VariantChangeType(&result, &result, 0, VT_I4)))
        value = result.lVal;
    VariantClear(&result);
    return value;
}

int MKCFlashWnd::CurrentFrame()
{
    return CallForInt(kFlashDispCurrentFrame);
}

int MKCFlashWnd::FlashVersion()
{
    return CallForInt(kFlashDispFlashVersion);
}

bool MKCFlashWnd::IsFlashControlAvailable()
{
    if (FAILED(OleInitialize(nullptr)))
        return false;
    IClassFactory* factory = nullptr;
    bool made = false;
    if (SUCCEEDED(CoGetClassObject(CLSID_ShockwaveFlash, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, nullptr,
                                   IID_IClassFactory, reinterpret_cast<void**>(&factory)))) {
        IOleObject* object = nullptr;
        made = SUCCEEDED(factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object))) &&
               object;
        if (object)
            object->Release();
        factory->Release();
    }
    OleUninitialize();
    return made;
}

bool MKCFlashWnd::ParseVersion(const char* text, int& major, int& minor, int& build, int& revision)
{
    major = minor = build = revision = -1;
    MKTOArray<MKString> parts;
    MKString(text).Split(".,", false, parts);
    int count = parts.GetCount();
    if (count < 2 || count > 4)
        return false;
    int first = PartNumber(parts[0]);
    int second = PartNumber(parts[1]);
    if (first < 0 || second < 0)
        return false;
    major = first;
    minor = second;
    if (count >= 3)
        build = PartNumber(parts[2]);
    if (count == 4)
        revision = PartNumber(parts[3]);
    return true;
}

bool MKCFlashWnd::ReadVersionFromRegistry()
{
    static const char* const kPlaces[][2] = {
        {"Windows\\CurrentVersion\\Uninstall\\Adobe Flash Player ActiveX", "DisplayVersion"},
        {"Windows\\CurrentVersion\\Uninstall\\Adobe Flash Player Plugin", "DisplayVersion"},
        {"Windows\\CurrentVersion\\Uninstall\\ShockwaveFlash", "DisplayVersion"},
        {"Active Setup\\Installed Components\\{D27CDB6E-AE6D-11CF-96B8-444553540000}", "Version"},
    };
    for (const auto& place : kPlaces) {
        MKString text;
        if (ReadMicrosoftString(place[0], place[1], text) &&
            ParseVersion(text.GetText(), m_major, m_minor, m_build, m_revision))
            return true;
    }
    return false;
}

void MKCFlashWnd::EnsureVersion()
{
    if (m_major >= 0 || ReadVersionFromRegistry())
        return;
    int version = FlashVersion();
    m_major = (version >> 16) & 0xFFFF;
    m_minor = version & 0xFFFF;
    m_build = m_revision = -1;
}

const MKString& MKCFlashWnd::GetVersionText()
{
    if (m_versionText.IsEmpty()) {
        EnsureVersion();
        m_versionText.Format("%d.%d", m_major, m_minor);
        if (m_build >= 0) {
            m_versionText.AppendString(MKString::FromFormat(".%d", m_build));
            if (m_revision >= 0)
                m_versionText.AppendString(MKString::FromFormat(".%d", m_revision));
        }
    }
    return m_versionText;
}
