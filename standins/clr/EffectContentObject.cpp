#include "standins/clr/EffectContentObject.h"

#include "standins/clr/MovieSinkObject.h"

#include <stdio.h>
#include <stdlib.h>
#include <vector>

namespace standin_clr {

namespace {

// The scene node proxies' dispatch identifiers the content uses.
enum : DISPID {
    kGetWidth = 3,
    kGetHeight = 4,
    kSetRect = 5,
    kSetVisible = 12,
    kActivate = 13,
    kStart = 14,
    kSetEventSink = -4,
    kCreateWindowed = 101,
    kSetBackgroundColor = 301,
    kCreateImage = 102,
    kCreateFlash = 103,
    kCreateMovie = 104,
    kSetImagePath = 401,
    kSetFlashMovie = 601,
    kSetMoviePath = 703,
};

// Where hosted controls find the entries of their plug-in's package.
const wchar_t kPackResources[] = L"C:\\Vistello.9EA84E08259647B1995FC2CEB15B7423\\pack\\resources\\";

VARIANT Value(VARTYPE type, double number)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = type;
    if (type == VT_R4)
        value.fltVal = static_cast<float>(number);
    else if (type == VT_BOOL)
        value.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    else
        value.lVal = static_cast<LONG>(static_cast<int64_t>(number));
    return value;
}

// A method call with the arguments in declared order.
HRESULT Call(IDispatch* target, DISPID id, std::vector<VARIANT> declared, VARIANT* result = nullptr)
{
    std::vector<VARIANT> reversed(declared.rbegin(), declared.rend());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, UINT(reversed.size()), 0};
    return target->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
}

float ReadFloat(IDispatch* target, DISPID id)
{
    VARIANT result;
    VariantInit(&result);
    if (FAILED(Call(target, id, {}, &result)) || FAILED(VariantChangeType(&result, &result, 0, VT_R4)))
        return 0;
    return result.fltVal;
}

}  // namespace

EffectContentObject::EffectContentObject(const std::wstring& owner, const AssemblyType& type, IUnknown* api)
    : ScriptedObject(owner + L"Content"),
      m_color(wcstoul(type.Field(L"ContentColor").c_str(), nullptr, 16)),
      m_kind(wcstol(type.Field(L"ContentKind").c_str(), nullptr, 10)),
      m_stepVisible(type.Field(L"StepVisible") == L"1"),
      m_snapshotKey(type.Field(L"SnapshotKey")),
      m_nodeKind(type.Field(L"ContentNode")),
      m_entry(type.Field(L"ContentEntry")),
      m_api(api)
{
    if (m_api)
        m_api->AddRef();
    swscanf(type.Field(L"SnapshotBounds").c_str(), L"%f,%f,%f,%f", &m_bounds[0], &m_bounds[1], &m_bounds[2],
            &m_bounds[3]);
}

EffectContentObject::~EffectContentObject()
{
    DropNodes();
    if (m_api)
        m_api->Release();
    if (!m_pictureFile.empty())
        DeleteFileW(m_pictureFile.c_str());
}

void* EffectContentObject::QueryOwn(REFIID iid)
{
    return iid == IID_IEffectContent ? static_cast<IEffectContent*>(this) : nullptr;
}

void EffectContentObject::DropNodes()
{
    if (m_child)
        m_child->Release();
    m_child = nullptr;
    if (m_fill)
        m_fill->Release();
    if (m_node)
        m_node->Release();
    m_fill = nullptr;
    m_node = nullptr;
}

HRESULT EffectContentObject::Attach(IDispatch* node, VARIANT_BOOL attach)
{
    HRESULT hr = Enter(std::wstring(L"Attach ") + (attach ? L"1" : L"0"));
    if (FAILED(hr))
        return hr;
    if (!node)
        return E_POINTER;
    DropNodes();
    m_node = node;
    m_node->AddRef();
    VARIANT fill;
    VariantInit(&fill);
    hr = Call(node, kCreateWindowed, {Value(VT_I4, 0), Value(VT_I4, 0), Value(VT_I4, 0)}, &fill);
    if (FAILED(hr) || fill.vt != VT_DISPATCH || !fill.pdispVal) {
        VariantClear(&fill);
        return FAILED(hr) ? hr : E_FAIL;
    }
    m_fill = fill.pdispVal;
    const float width = ReadFloat(node, kGetWidth);
    const float height = ReadFloat(node, kGetHeight);
    Call(m_fill, kSetRect, {Value(VT_R4, 0), Value(VT_R4, 0), Value(VT_R4, width), Value(VT_R4, height)});
    Call(m_fill, kSetBackgroundColor, {Value(VT_I4, static_cast<double>(static_cast<int32_t>(0xFF000000u | m_color)))});
    if (!m_nodeKind.empty() && !ShowEntry(width, height))
        return E_FAIL;
    if (!m_stepVisible)
        ShowNode(true);
    // A movie loads when its node is activated; a start alone skips that.
    if (m_child)
        Call(node, kActivate, {Value(VT_BOOL, 1)});
    Call(node, kStart, {Value(VT_BOOL, 1)});
    return S_OK;
}

bool EffectContentObject::ShowEntry(float width, float height)
{
    DISPID make = 0, source = 0;
    std::vector<VARIANT> arguments;
    std::wstring path;
    if (m_nodeKind == L"image") {
        make = kCreateImage;
        source = kSetImagePath;
        path = WritePicture();
    } else if (m_nodeKind == L"flash" || m_nodeKind == L"movie") {
        make = m_nodeKind == L"flash" ? kCreateFlash : kCreateMovie;
        source = m_nodeKind == L"flash" ? kSetFlashMovie : kSetMoviePath;
        arguments.push_back(Value(VT_I4, 0));
        path = kPackResources + m_entry;
    }
    if (!make || path.empty())
        return false;
    VARIANT child;
    VariantInit(&child);
    if (FAILED(Call(m_fill, make, arguments, &child)) || child.vt != VT_DISPATCH || !child.pdispVal) {
        VariantClear(&child);
        return false;
    }
    m_child = child.pdispVal;
    if (make == kCreateMovie) {
        // An effect movie runs only with a sink that takes its calls.
        MovieSinkObject* sink = MovieSinkObject::Create(LogName());
        VARIANT value;
        value.vt = VT_DISPATCH;
        value.pdispVal = static_cast<INodeEventSink*>(sink);
        Call(m_child, kSetEventSink, {value});
        sink->Release();
    }
    Call(m_child, kSetRect, {Value(VT_R4, 0), Value(VT_R4, 0), Value(VT_R4, width), Value(VT_R4, height)});
    VARIANT text;
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(path.c_str());
    HRESULT hr = Call(m_child, source, {text});
    VariantClear(&text);
    ClrLog::Note(LogName() + L".Shows " + m_nodeKind + L" " + path);
    return SUCCEEDED(hr);
}

std::wstring EffectContentObject::WritePicture()
{
    IPluginApi* calls = nullptr;
    if (!m_api || FAILED(m_api->QueryInterface(IID_IPluginApi, reinterpret_cast<void**>(&calls))))
        return L"";
    BSTR name = SysAllocString(m_entry.c_str());
    long address = 0, size = 0;
    BYTE ok = 0;
    HRESULT hr = calls->ReadPackageItem(name, &address, &size, &ok);
    SysFreeString(name);
    calls->Release();
    void* bytes = reinterpret_cast<void*>(static_cast<UINT_PTR>(static_cast<ULONG>(address)));
    std::wstring path;
    if (SUCCEEDED(hr) && ok && bytes) {
        wchar_t folder[MAX_PATH] = {};
        wchar_t file[MAX_PATH] = {};
        if (GetTempPathW(MAX_PATH, folder) && GetTempFileNameW(folder, L"vsc", 0, file)) {
            // The image node knows the picture's kind by its extension.
            path = std::wstring(file) + L"-" + m_entry;
            DeleteFileW(file);
            HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            bool whole = out != INVALID_HANDLE_VALUE && WriteFile(out, bytes, DWORD(size), &written, nullptr) &&
                         written == DWORD(size);
            if (out != INVALID_HANDLE_VALUE)
                CloseHandle(out);
            if (!whole) {
                DeleteFileW(path.c_str());
                path.clear();
            }
        }
    }
    if (bytes)
        CoTaskMemFree(bytes);
    if (!path.empty()) {
        if (!m_pictureFile.empty() && m_pictureFile != path)
            DeleteFileW(m_pictureFile.c_str());
        m_pictureFile = path;
    }
    return path;
}

void EffectContentObject::ShowNode(bool shown)
{
    if (m_node)
        Call(m_node, kSetVisible, {Value(VT_BOOL, shown ? 1 : 0)});
}

HRESULT EffectContentObject::Detach()
{
    HRESULT hr = Enter(L"Detach");
    DropNodes();
    return hr;
}

HRESULT EffectContentObject::FireSteps(long time, SAFEARRAY* ids, SAFEARRAY* starts, SAFEARRAY* keys,
                                       SAFEARRAY* times, SAFEARRAY* durations, SAFEARRAY* repeats)
{
    std::wstring line = L"FireSteps @" + std::to_wstring(time) + L":";
    std::vector<ULONG> kinds;
    LONG upper = -1;
    if (ids)
        SafeArrayGetUBound(ids, 1, &upper);
    for (LONG i = 0; i <= upper; ++i) {
        BSTR id = nullptr;
        ULONG start = 0;
        ULONG key = 0;
        LONG at = 0;
        LONG duration = 0;
        LONG repeat = 0;
        SafeArrayGetElement(ids, &i, &id);
        SafeArrayGetElement(starts, &i, &start);
        SafeArrayGetElement(keys, &i, &key);
        SafeArrayGetElement(times, &i, &at);
        SafeArrayGetElement(durations, &i, &duration);
        SafeArrayGetElement(repeats, &i, &repeat);
        kinds.push_back(start);
        if (start == 0xFFFFFFFF) {
            line += L" [reset]";
        } else {
            line += L" [" + std::wstring(id ? id : L"(null)") + (start == 1 ? L"+ " : L"- ") +
                    std::to_wstring(key >> 16) + L":" + std::to_wstring(key & 0xFFFF) + L" t" + std::to_wstring(at) +
                    L" d" + std::to_wstring(duration) + L" r" + std::to_wstring(repeat) + L"]";
        }
        SysFreeString(id);
    }
    HRESULT hr = Enter(line);
    if (FAILED(hr) || !m_stepVisible)
        return hr;
    // A reset hides what earlier rows showed; a start row shows the content.
    for (ULONG kind : kinds) {
        if (kind == 0xFFFFFFFF || kind == 1)
            ShowNode(kind == 1);
    }
    return hr;
}

HRESULT EffectContentObject::GetSnapshotKey(BSTR* key)
{
    HRESULT hr = Enter(L"GetSnapshotKey");
    if (FAILED(hr))
        return hr;
    if (!key)
        return E_POINTER;
    *key = SysAllocString(m_snapshotKey.c_str());
    return S_OK;
}

HRESULT EffectContentObject::GetBounds(float* left, float* top, float* right, float* bottom)
{
    HRESULT hr = Enter(L"GetBounds");
    if (FAILED(hr))
        return hr;
    if (!left || !top || !right || !bottom)
        return E_POINTER;
    *left = m_bounds[0];
    *top = m_bounds[1];
    *right = m_bounds[2];
    *bottom = m_bounds[3];
    return S_OK;
}

HRESULT EffectContentObject::GetStepMode(BSTR effectId, long*)
{
    return Enter(std::wstring(L"GetStepMode ") + (effectId ? effectId : L""));
}

HRESULT EffectContentObject::QueryHold(BSTR commandText, VARIANT_BOOL* hold)
{
    if (hold)
        *hold = VARIANT_FALSE;
    return Enter(std::wstring(L"QueryHold ") + (commandText ? commandText : L""));
}

HRESULT EffectContentObject::Describe(BSTR* name, long* kind, VARIANT_BOOL* acceptsAnimation,
                                      VARIANT_BOOL* mayLieOffSlide)
{
    HRESULT hr = Enter(L"Describe");
    if (FAILED(hr))
        return hr;
    if (!name || !kind || !acceptsAnimation || !mayLieOffSlide)
        return E_POINTER;
    *name = SysAllocString(LogName().c_str());
    *kind = m_kind;
    *acceptsAnimation = VARIANT_TRUE;
    *mayLieOffSlide = VARIANT_FALSE;
    return S_OK;
}

}  // namespace standin_clr
