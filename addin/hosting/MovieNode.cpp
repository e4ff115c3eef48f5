#include "addin/hosting/MovieNode.h"

#include "addin/hosting/ControlHostWindow.h"
#include "addin/hosting/ExternalInterfaceProtocol.h"
#include "addin/hosting/FlashCalls.h"
#include "addin/hosting/GlyphOutlines.h"
#include "addin/hosting/MovieEventSink.h"
#include "addin/hosting/MovieNodeProxy.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/SiteContainer.h"
#include "base/MKFile.h"
#include "base/MKRefHolder.h"
#include "base/MKSpecialFolders.h"
#include "base/MKStringDictionary.h"
#include "hostapi/FlashInterfaces.h"

namespace EI = ExternalInterfaceProtocol;

namespace {

int KindOf(int mode)
{
    if (mode == 1)
        return ActiveXNode::WindowlessKind;
    return mode > 3 ? ActiveXNode::NativeWindowKind : ActiveXNode::WindowedKind;
}

const wchar_t* WindowModeName(int mode)
{
    switch (mode) {
    case 1: return L"transparent";
    case 2:
    case 5: return L"direct";
    case 3:
    case 6: return L"gpu";
    default: return L"window";
    }
}

// The colour of the window's pixel at (x, y) of its client area.
bool SamplePixel(HWND window, int x, int y, uint8_t rgb[3])
{
    HDC source = GetDC(window);
    if (!source)
        return false;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, 1, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = memory ? CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool sampled = false;
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        sampled = BitBlt(memory, 0, 0, 1, 1, source, x, y, SRCCOPY) != FALSE;
        GdiFlush();
        const uint8_t* pixel = static_cast<const uint8_t*>(bits);
        rgb[0] = pixel[2];
        rgb[1] = pixel[1];
        rgb[2] = pixel[0];
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(window, source);
    return sampled;
}

}  // namespace

MovieNode::MovieNode(int mode) : ActiveXNode(KindOf(mode), true), m_playerMajor(FlashCalls::InstalledVersion().major)
{
    if (m_playerMajor < 10 && (mode == 2 || mode == 3 || mode == 5 || mode == 6))
        mode = 0;
    m_mode = mode;
    m_flashVars = L"?";
    m_sink = new MovieEventSink(this);
    m_sink->AddRef();
    SetProperty(MKString(L"wmode"), MKString(WindowModeName(mode)));
}

MovieNode::~MovieNode()
{
    m_sink->ForgetNode();
    m_sink->Release();
    if (m_handler)
        m_handler->Release();
    FreeMovieData();
    delete m_userVariables;
}

MKStringDictionary& MovieNode::GetUserVariables()
{
    if (!m_userVariables)
        m_userVariables = new MKStringDictionary();
    return *m_userVariables;
}

const MKString* MovieNode::GetMoviePath() const
{
    return m_movieData ? nullptr : &m_moviePath;
}

void MovieNode::SetMoviePath(const MKString& path)
{
    m_moviePath = path;
    FreeMovieData();
}

void MovieNode::SetMovieData(void* block, int length)
{
    m_moviePath.Clear();
    // The block held already, handed in again, stays: freeing it first would
    // leave the node holding freed memory.
    if (block != m_movieData)
        FreeMovieData();
    m_movieData = block;
    m_movieLength = block && length > 0 ? length : 0;
}

void MovieNode::FreeMovieData()
{
    if (m_movieData)
        CoTaskMemFree(m_movieData);
    m_movieData = nullptr;
    m_movieLength = 0;
}

void MovieNode::DeleteTemporaryFile()
{
    if (!m_temporaryFile.IsEmpty())
        MKFileRemove(m_temporaryFile);
    m_temporaryFile.Clear();
}

MKString MovieNode::BuildFlashVars()
{
    MKString text = m_userVariables ? m_userVariables->ToFormString() : MKString();
    if (!text.IsEmpty())
        text.AppendText(L"&");
    MKString own;
    own.Format(L"__vqz_PW=%d&__vqz_PH=%d&__vqz_FW=", GetPixelWidth(), GetPixelHeight());
    text.AppendString(own);
    text.AppendString(EI::FormatNumber(GetWidth()));
    text.AppendText(L"&__vqz_FH=");
    text.AppendString(EI::FormatNumber(GetHeight()));
    text.AppendText(HasCapability(NativeControl) ? L"&__vqz_ST=1" : L"&__vqz_ST=0");
    if (IsOffScreen())
        text.AppendText(L"&__vqz_UFV=1");
    return text;
}

// --- Lifecycle -----------------------------------------------------------------

NodeProxy* MovieNode::CreateProxy()
{
    return MakeNodeProxy<MovieNodeProxy>(this);
}

bool MovieNode::OnActivate()
{
    if (!m_handler) {
        INodeEventSink* sink = GetEventSink();
        IMovieCallHandler* handler = nullptr;
        if (!sink || FAILED(sink->QueryInterface(IID_IMovieCallHandler, reinterpret_cast<void**>(&handler))) ||
            !handler)
            return false;
        m_handler = handler;
    }
    m_flashVars = BuildFlashVars();
    if (m_movieData) {
        DeleteTemporaryFile();
        MKString file = MKTempFileName();
        if (file.IsEmpty())
            return false;
        if (!MKWriteFile(file, m_movieData, m_movieLength)) {
            MKFileRemove(file);
            return false;
        }
        m_temporaryFile = file;
        SetProperty(MKString(L"movie"), file);
    } else {
        SetProperty(MKString(L"movie"), m_moviePath);
    }
    const bool started = StartControl();
    if (IsOffScreen() && m_colourSampled)
        SetBackgroundColor(m_sampled[0], m_sampled[1], m_sampled[2]);
    return started;
}

bool MovieNode::OnStart()
{
    SetAnimating(true);
    const bool started = StartControl();
    if (!started)
        SetAnimating(false);
    return started;
}

bool MovieNode::ConnectEvents()
{
    if (FAILED(Connect(DIID_IShockwaveFlashEvents, m_sink)))
        return false;
    IShockwaveFlash* flash = FlashCalls::Query(*this);
    if (!flash)
        return false;
    BSTR vars = m_flashVars.ToBstr();
    HRESULT hr = flash->put_FlashVars(vars);
    SysFreeString(vars);
    if (SUCCEEDED(hr))
        hr = flash->DisableLocalSecurity();
    flash->Release();
    return SUCCEEDED(hr);
}

void MovieNode::OnDetach()
{
    DeleteTemporaryFile();
    FreeMovieData();
    delete m_userVariables;
    m_userVariables = nullptr;
    m_flashVars = L"?";
    ActiveXNode::OnDetach();
}

void MovieNode::OnRectChanged(const RECT& oldRect, const RECT& newRect, const RECT& oldWindowRect,
                              const RECT& newWindowRect)
{
    // The movie hears of the size before the control is resized.
    if (HasControl())
        OnResize();
    ActiveXNode::OnRectChanged(oldRect, newRect, oldWindowRect, newWindowRect);
}

HRESULT MovieNode::OnControlDestroyed()
{
    UpdateReady();
    return S_OK;
}

// --- Readiness -----------------------------------------------------------------

bool MovieNode::IsReady()
{
    return !HasCapability(NativeControl);
}

void MovieNode::UpdateReady()
{
    ActiveXNode::UpdateReady();
    m_backgroundRefreshed = false;
}

void MovieNode::TryBecomeReady()
{
    if (!HasCapability(NativeControl) || !MayLoad() || m_backgroundRefreshed)
        return;
    ControlHostWindow* window = GetHostWindow();
    if (!window || !window->CaptureBackground())
        return;
    if (RefreshBackground())
        m_backgroundRefreshed = true;
}

void MovieNode::BeforeCreateWindow(HWND parent, int x, int y, int width, int height)
{
    if (!IsOffScreen() || width <= 0 || height <= 0)
        return;
    m_hasSavedColour = SUCCEEDED(FlashCalls::GetBackgroundColorText(*this, m_savedColour));
    // The colour behind where the node will be, not the parent's corner.
    if (SamplePixel(parent, x, y, m_sampled))
        m_colourSampled = true;
}

void MovieNode::OnVisibleChanged(bool visible)
{
    if (IsControlActive())
        FlashCalls::CallFunction(*this, m_playerMajor, EI::OnAxVisibleChangedRequest(visible), nullptr);
    if (visible && IsOffScreen() && m_hasSavedColour) {
        FlashCalls::SetBackgroundColorText(*this, m_savedColour);
        m_hasSavedColour = false;
    }
    ActiveXNode::OnVisibleChanged(visible);
}

// --- Calls to and from the movie -------------------------------------------------

bool MovieNode::OnResize()
{
    if (!IsControlActive())
        return false;
    if (GetPixelWidth() == 0 || GetPixelHeight() == 0)
        return true;
    MKString request = EI::OnResizeRequest(GetPixelWidth(), GetPixelHeight(), GetWidth(), GetHeight());
    return SUCCEEDED(FlashCalls::CallFunction(*this, m_playerMajor, request, nullptr));
}

bool MovieNode::RefreshBackground()
{
    return IsControlActive() &&
        SUCCEEDED(FlashCalls::CallFunction(*this, m_playerMajor, EI::RefreshBackgroundRequest(), nullptr));
}

HRESULT MovieNode::SetBackgroundColor(uint8_t red, uint8_t green, uint8_t blue)
{
    MKString text;
    text.Format(L"#%02X%02X%02X", red, green, blue);
    return FlashCalls::SetBackgroundColorText(*this, text);
}

HRESULT MovieNode::OnFlashCall(const MKString& request)
{
    // The sink is held for the call: the plug-in may let go of the node.
    MKRefHolder<SceneNode> keep;
    keep.AssignPointer(this);
    INodeEventSink* sink = GetEventSink();
    if (!sink)
        return E_FAIL;
    sink->AddRef();
    MKString name;
    HRESULT hr = S_OK;
    if (!EI::ParseInvokedName(request, name))
        hr = E_FAIL;
    else if (name.EqualsText(L"__vqz_SetAnimating"))
        SetAnimating(EI::ParseFirstArgumentTrue(request));
    else if (name.EqualsText(L"__vqz_OnScreenReady"))
        SetReady(true);
    else if (name.EqualsText(L"__vqz_ShowMouse"))
        SetCursorMode(CursorShown);
    else if (name.EqualsText(L"__vqz_HideMouse"))
        SetCursorMode(CursorHidden);
    else if (name.EqualsText(L"__vqz_GetGlyphs"))
        hr = AnswerGlyphs(request);
    else
        hr = PassToHandler(request);
    sink->Release();
    return hr;
}

HRESULT MovieNode::AnswerGlyphs(const MKString& request)
{
    MKString text;
    if (!EI::ParseStringArgument(request, text))
        return E_FAIL;
    MKString answer(L"<string>");
    answer.AppendString(GlyphOutlines::Answer(text));
    answer.AppendText(L"</string>");
    FlashCalls::SetReturnValue(*this, answer.GetText());
    return S_OK;
}

HRESULT MovieNode::PassToHandler(const MKString& request)
{
    BSTR response = nullptr;
    if (m_handler) {
        BSTR text = request.ToBstr();
        if (FAILED(m_handler->HandleCall(text, &response))) {
            SysFreeString(response);
            response = nullptr;
        }
        SysFreeString(text);
    }
    FlashCalls::SetReturnValue(*this, response);
    SysFreeString(response);
    return S_OK;
}

const CLSID* MovieNode::GetControlClsid()
{
    return &CLSID_ShockwaveFlash;
}

HRESULT MovieNode::GetContainer(IOleContainer** container)
{
    return SiteContainer::Create(container);
}

HRESULT MovieNode::GetMoniker(DWORD, DWORD, IMoniker** moniker)
{
    return FlashCalls::DriveMoniker(moniker);
}
