// The real plovapoint.dll registered in the test prefix, made through COM and
// hosted in containers: persistence, automation, snapshot drawing, the live
// Flash control and PowerPoint's slide-show events.
#include "slidecontrol/ControlStreamRecord.h"
#include "slidecontrol/IFOfficeDoc.h"

#include "DocumentContainer.h"
#include "PlovapointRegistration.h"
#include "base/MKMemOutStream.h"
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/Fixtures.h"
#include "fixtures/SwfFile.h"
#include "fixtures/SwfShapeWriter.h"
#include "fixtures/SwfTimeline.h"
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "tests/standins/controlsupport/AtlAxHost.h"
#include "tests/standins/controlsupport/ControlLogFile.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/HostWindow.h"
#include "tests/standins/controlsupport/QueryAs.h"
#include "tests/standins/controlsupport/TestControlSite.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>
#include <shlwapi.h>

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes StreamBytes(IStream* stream)
{
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    Bytes bytes(size_t(stat.cbSize.QuadPart));
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), ULONG(bytes.size()), &read);
    return bytes;
}

IStream* StreamOf(const Bytes& bytes)
{
    return SHCreateMemStream(bytes.empty() ? nullptr : bytes.data(), UINT(bytes.size()));
}

ULONGLONG Position(IStream* stream)
{
    LARGE_INTEGER none = {};
    ULARGE_INTEGER at = {};
    stream->Seek(none, STREAM_SEEK_CUR, &at);
    return at.QuadPart;
}

// A control record as the library writes it.
Bytes Record(const MovieProperties& properties, int32_t cx, int32_t cy)
{
    MKMemOutStream out;
    ControlExtent extent;
    extent.cx = cx;
    extent.cy = cy;
    WriteControlRecord(out, properties, extent);
    return Bytes(out.GetData(), out.GetData() + out.GetCount());
}

constexpr int kDrawWidth = 200;
constexpr int kDrawHeight = 150;

void SetMovieBytes(MovieProperties& properties, const Bytes& movie)
{
    properties.movie.SetSize(int(movie.size()));
    if (!movie.empty())
        memcpy(properties.movie.GetData(), movie.data(), movie.size());
}

// 550 x 400 pixels: a blue background and a red rectangle over the left
// half; a second frame all green, so a start frame of 1 shows it.
Bytes PictureMovie()
{
    SwfShapeWriter red;
    int fill = red.AddSolidFill(255, 0, 0);
    red.Rectangle(0, 0, 5500, 8000, fill);
    SwfShapeWriter green;
    int greenFill = green.AddSolidFill(0, 255, 0);
    green.Rectangle(0, 0, 11000, 8000, greenFill);
    SwfTimeline tags;
    tags.SetBackgroundColor(0, 0, 255)
        .DefineShape(1, red, 0, 5500, 0, 8000)
        .DefineShape(2, green, 0, 11000, 0, 8000)
        .PlaceObject(1, 1, SwfMatrix())
        .ShowFrame()
        .PlaceObject(2, 2, SwfMatrix())
        .ShowFrame()
        .End();
    SwfHeader header;
    header.frameCount = 2;
    return SwfMakeFile(header, tags.Bytes());
}

template <class I>
I* Create(const IID& iid)
{
    I* object = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_FOfficeDoc, nullptr, CLSCTX_INPROC_SERVER, iid,
                                     reinterpret_cast<void**>(&object)));
    return object;
}

Bytes SaveOf(IUnknown* control)
{
    IPersistStreamInit* persist = QueryAs<IPersistStreamInit>(control, IID_IPersistStreamInit);
    IStream* stream = SHCreateMemStream(nullptr, 0);
    EXPECT_EQ(S_OK, persist->Save(stream, TRUE));
    Bytes bytes = StreamBytes(stream);
    stream->Release();
    persist->Release();
    return bytes;
}

HRESULT LoadInto(IUnknown* control, const Bytes& bytes, ULONGLONG* position = nullptr)
{
    IPersistStreamInit* persist = QueryAs<IPersistStreamInit>(control, IID_IPersistStreamInit);
    IStream* stream = StreamOf(bytes);
    HRESULT hr = persist->Load(stream);
    if (position)
        *position = Position(stream);
    stream->Release();
    persist->Release();
    return hr;
}

DISPID IdOf(IDispatch* dispatch, const wchar_t* name)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 1, 0, &id));
    return id;
}

HRESULT CallSetMovie(IDispatch* dispatch, const std::wstring& path)
{
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_BSTR;
    argument.bstrVal = SysAllocString(path.c_str());
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    HRESULT hr = dispatch->Invoke(IdOf(dispatch, L"SetMovie"), IID_NULL, 0, DISPATCH_METHOD, &params, nullptr,
                                  nullptr, nullptr);
    VariantClear(&argument);
    return hr;
}

long InternalIdOf(IDispatch* dispatch)
{
    DISPPARAMS none = {};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(kFOfficeDispGetInternalID, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr,
                                     nullptr));
    EXPECT_EQ(VT_I4, result.vt);
    return result.lVal;
}

// The registered control with the Flash stand-in beside it and its call log.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(flash.Registered());
        ASSERT_EQ(S_OK, registration.Result());
    }

    ComScope com;
    ControlRegistration flash{StandInControl::Flash10};
    PlovapointRegistration registration;
    ControlLogFile log;
};

const uint8_t kEmptyControl[44] = {
    0x44, 0x8E, 0x95, 0x74, 0x48, 0x48, 0xF5, 0x58,  // magic words
    0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // version 2, no movie
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,  // scale mode, quality High
    0x00, 0xFF, 0xFF, 0xFF, 0x00,                    // no background, white
    0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,        // loop, autoplay, start frame 0, extra flag
    0xD8, 0x13, 0x00, 0x00, 0xD8, 0x13, 0x00, 0x00,  // two inches by two (HIMETRIC)
};

TEST_F(ControlTest, AnEmptyControlSaves44GoldenBytesAsItsContentsStreamToo)
{
    IUnknown* control = Create<IUnknown>(IID_IUnknown);
    ASSERT_NE(nullptr, control);
    IPersistStreamInit* persist = QueryAs<IPersistStreamInit>(control, IID_IPersistStreamInit);
    ASSERT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    ULARGE_INTEGER size = {};
    EXPECT_EQ(E_NOTIMPL, persist->GetSizeMax(&size));
    persist->Release();
    Bytes saved = SaveOf(control);
    ASSERT_EQ(44u, saved.size());
    for (size_t i = 0; i < saved.size(); ++i)
        EXPECT_EQ(kEmptyControl[i], saved[i]) << "at " << i;

    // A storage holds the same bytes in its stream "Contents".
    ILockBytes* memory = nullptr;
    ASSERT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &memory));
    IStorage* storage = nullptr;
    ASSERT_EQ(S_OK, StgCreateDocfileOnILockBytes(memory, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                                 &storage));
    IPersistStorage* persistStorage = QueryAs<IPersistStorage>(control, IID_IPersistStorage);
    ASSERT_NE(nullptr, persistStorage);
    ASSERT_EQ(S_OK, persistStorage->Save(storage, FALSE));
    IStream* contents = nullptr;
    ASSERT_EQ(S_OK, storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents));
    EXPECT_EQ(saved, StreamBytes(contents));
    contents->Release();

    // And loads it back from there.
    IUnknown* second = Create<IUnknown>(IID_IUnknown);
    IPersistStorage* secondStorage = QueryAs<IPersistStorage>(second, IID_IPersistStorage);
    EXPECT_EQ(S_OK, secondStorage->Load(storage));
    EXPECT_EQ(saved, SaveOf(second));
    secondStorage->Release();
    second->Release();
    persistStorage->Release();
    storage->Release();
    memory->Release();
    control->Release();
}

TEST_F(ControlTest, SaveAndLoadRoundTripEveryPropertyByteForByte)
{
    MovieProperties properties;
    SetMovieBytes(properties, SwfDeflateFile(PictureMovie()));
    properties.scaleMode = 1;
    properties.quality = 0;
    properties.background = true;
    properties.backgroundColour = 0x123456;
    properties.loop = false;
    properties.autoPlay = false;
    properties.startFrame = 7;
    properties.extraFlag = true;
    Bytes record = Record(properties, 9000, 6000);

    IUnknown* control = Create<IUnknown>(IID_IUnknown);
    ASSERT_EQ(S_OK, LoadInto(control, record));
    IPersistStreamInit* persist = QueryAs<IPersistStreamInit>(control, IID_IPersistStreamInit);
    EXPECT_EQ(S_FALSE, persist->IsDirty());
    persist->Release();
    IOleObject* object = QueryAs<IOleObject>(control, IID_IOleObject);
    SIZEL extent = {};
    ASSERT_EQ(S_OK, object->GetExtent(DVASPECT_CONTENT, &extent));
    EXPECT_EQ(9000, extent.cx);
    EXPECT_EQ(6000, extent.cy);
    object->Release();
    EXPECT_EQ(record, SaveOf(control));
    control->Release();
}

TEST_F(ControlTest, EitherMagicLoadsAndAVersionOneBlockIsSavedAsVersionTwo)
{
    Bytes record = Record(MovieProperties(), 100, 200);
    Bytes firstOnly = record;
    firstOnly[7] = 0;  // second word broken
    Bytes secondOnly = record;
    secondOnly[0] = 0;  // first word broken
    // Version 1: no extra flag byte.
    Bytes versionOne = record;
    versionOne[8] = 1;
    versionOne.erase(versionOne.begin() + 35);
    for (const Bytes* input : {&firstOnly, &secondOnly, &versionOne}) {
        IUnknown* control = Create<IUnknown>(IID_IUnknown);
        EXPECT_EQ(S_OK, LoadInto(control, *input));
        EXPECT_EQ(record, SaveOf(control));
        control->Release();
    }
}

struct BadStream {
    const char* name;
    Bytes bytes;
    HRESULT expected;
};

TEST_F(ControlTest, BadStreamsAreRefusedWithoutReadingPastTheirEnd)
{
    MovieProperties withMovie;
    SetMovieBytes(withMovie, PictureMovie());
    Bytes good = Record(withMovie, 100, 100);
    Bytes bothMagics = good;
    bothMagics[0] = bothMagics[7] = 0;
    Bytes versionZero = good;
    versionZero[8] = 0;
    Bytes versionThree = good;
    versionThree[8] = 3;
    Bytes truncated(good.begin(), good.end() - 3);
    // A movie length beyond the stream: refused before the movie is read.
    Bytes tooLong = good;
    uint32_t length = uint32_t(good.size());
    memcpy(&tooLong[12], &length, 4);
    const BadStream cases[] = {
        {"no magic", bothMagics, STG_E_INVALIDHEADER},
        {"version 0", versionZero, STG_E_INVALIDHEADER},
        {"version 3", versionThree, STG_E_INVALIDHEADER},
        {"truncated", truncated, HRESULT_FROM_WIN32(ERROR_HANDLE_EOF)},
        {"movie longer than the stream", tooLong, HRESULT_FROM_WIN32(ERROR_HANDLE_EOF)},
        {"empty", Bytes(), HRESULT_FROM_WIN32(ERROR_HANDLE_EOF)},
    };
    for (const BadStream& bad : cases) {
        SCOPED_TRACE(bad.name);
        IUnknown* control = Create<IUnknown>(IID_IUnknown);
        ULONGLONG position = 0;
        EXPECT_EQ(bad.expected, LoadInto(control, bad.bytes, &position));
        if (&bad == &cases[4])
            EXPECT_EQ(16u, position);
        // The control stays usable: it saves a whole record.
        EXPECT_GE(SaveOf(control).size(), 44u);
        control->Release();
    }
}

TEST_F(ControlTest, MembersThroughIDispatchAndTheTypeLibrary)
{
    ScratchFolder folder;
    IDispatch* first = Create<IDispatch>(IID_IDispatch);
    IDispatch* second = Create<IDispatch>(IID_IDispatch);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);

    UINT count = 0;
    EXPECT_EQ(S_OK, first->GetTypeInfoCount(&count));
    EXPECT_EQ(1u, count);
    ITypeInfo* info = nullptr;
    ASSERT_EQ(S_OK, first->GetTypeInfo(0, 0, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(IID_IFOfficeDoc, attributes->guid));
    info->ReleaseTypeAttr(attributes);
    info->Release();
    EXPECT_EQ(kFOfficeDispSetMovie, IdOf(first, L"SetMovie"));
    EXPECT_EQ(kFOfficeDispUnregisterATLEvents, IdOf(first, L"UnregisterATLEvents"));

    // One identity per instance, the same on every call.
    long id = InternalIdOf(first);
    EXPECT_EQ(id, InternalIdOf(first));
    EXPECT_NE(id, InternalIdOf(second));

    IFOfficeDoc* doc = QueryAs<IFOfficeDoc>(first, IID_IFOfficeDoc);
    long verbs = 5;
    EXPECT_EQ(E_NOTIMPL, doc->get_EnableVerbProperties(&verbs));
    EXPECT_EQ(0, verbs);
    EXPECT_EQ(E_NOTIMPL, doc->put_EnableVerbProperties(1));
    EXPECT_EQ(S_OK, doc->LockActivateFlag(1));
    doc->Release();

    // SetMovie keeps the file's bytes, SWF or not, and marks the control dirty.
    Bytes movie = PictureMovie();
    std::wstring path = folder.File(L"movie.swf");
    SwfSaveFile(path, movie);
    ASSERT_EQ(S_OK, CallSetMovie(first, path));
    IPersistStreamInit* persist = QueryAs<IPersistStreamInit>(first, IID_IPersistStreamInit);
    EXPECT_EQ(S_OK, persist->IsDirty());
    Bytes saved = SaveOf(first);
    ASSERT_EQ(44 + movie.size(), saved.size());
    EXPECT_EQ(movie, Bytes(saved.begin() + 16, saved.begin() + 16 + movie.size()));
    EXPECT_EQ(S_FALSE, persist->IsDirty());

    Bytes text = {'n', 'o', 't', ' ', 's', 'w', 'f'};
    std::wstring textPath = folder.File(L"text.swf");
    SwfSaveFile(textPath, text);
    ASSERT_EQ(S_OK, CallSetMovie(first, textPath));
    EXPECT_EQ(44 + text.size(), SaveOf(first).size());

    // A missing file empties the movie, and still marks the control dirty.
    ASSERT_EQ(S_OK, CallSetMovie(first, folder.File(L"missing.swf")));
    EXPECT_EQ(S_OK, persist->IsDirty());
    EXPECT_EQ(44u, SaveOf(first).size());
    persist->Release();
    first->Release();
    second->Release();
}

// Draws a control loaded from `record`, never activated, in a 200 x 150
// window of a document whose kind is given, twice over a grey picture, and
// answers the picture's pixels (0x00RRGGBB, top row first).
std::vector<DWORD> DrawInactive(bool presentation, const Bytes& record)
{
    HostWindow window(kDrawWidth, kDrawHeight);
    RECT position = {0, 0, kDrawWidth, kDrawHeight};
    TestControlSite* site = new TestControlSite(window.Get(), position, false, nullptr);
    DocumentContainer* document = new DocumentContainer(nullptr, presentation);
    site->SetContainer(document);
    document->Release();
    IOleObject* object = Create<IOleObject>(IID_IOleObject);
    EXPECT_EQ(S_OK, object->SetClientSite(site));
    EXPECT_EQ(S_OK, LoadInto(object, record));
    IViewObject* view = QueryAs<IViewObject>(object, IID_IViewObject);
    // The container's drawing surface: a picture like the screen's, filled grey.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kDrawWidth, kDrawHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &position, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    RECTL bounds = {0, 0, kDrawWidth, kDrawHeight};
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
    // Drawing again at the same size plays the kept picture.
    EXPECT_EQ(S_OK, view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0));
    std::vector<DWORD> pixels(kDrawWidth * kDrawHeight);
    for (int y = 0; y < kDrawHeight; ++y) {
        for (int x = 0; x < kDrawWidth; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            pixels[y * kDrawWidth + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    view->Release();
    object->SetClientSite(nullptr);
    object->Release();
    site->Release();
    return pixels;
}

bool Near(DWORD pixel, DWORD colour)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int a = int((pixel >> shift) & 0xFF);
        int b = int((colour >> shift) & 0xFF);
        if (a - b > 8 || b - a > 8)
            return false;
    }
    return true;
}

DWORD FaceRgb()
{
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    return (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
}

// The path a logged put_Movie("...") was given, its escapes undone.
std::wstring LoggedMoviePath(const std::wstring& line)
{
    const std::wstring prefix = L"IShockwaveFlash.put_Movie(\"";
    const size_t at = line.find(prefix);
    std::wstring path;
    for (size_t i = at == std::wstring::npos ? line.size() : at + prefix.size(); i < line.size() && line[i] != L'"'; ++i)
        path += line[i] == L'\\' && i + 1 < line.size() ? line[++i] : line[i];
    return path;
}

TEST_F(ControlTest, AControlNeverActivatedDrawsItsStartFrameThroughAHiddenFlashControl)
{
    MovieProperties properties;
    SetMovieBytes(properties, PictureMovie());
    properties.startFrame = 1;
    std::vector<DWORD> pixels = DrawInactive(true, Record(properties, 5000, 4000));
    // The stand-in Flash control shows a movie's frames in its background
    // colour, over the whole drawn rectangle.
    EXPECT_PRED2(Near, pixels[75 * kDrawWidth + 40], 0x0000FFu);
    EXPECT_PRED2(Near, pixels[2 * kDrawWidth + 198], 0x0000FFu);
    EXPECT_PRED2(Near, pixels[148 * kDrawWidth + 1], 0x0000FFu);

    // Drawn twice at one size, the movie went to one hidden control, at the
    // start frame, through a temporary file that is gone again.
    std::vector<std::wstring> movies;
    for (const std::wstring& line : log.Lines())
        if (line.find(L"IShockwaveFlash.put_Movie(") != std::wstring::npos)
            movies.push_back(line);
    ASSERT_EQ(1u, movies.size());
    const std::wstring path = LoggedMoviePath(movies[0]);
    EXPECT_FALSE(path.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str())) << path;
    EXPECT_TRUE(log.Contains(L"IShockwaveFlash.GotoFrame(1)"));
    EXPECT_TRUE(log.Contains(L"movie loaded 2 frames"));
}

TEST_F(ControlTest, NoPictureOutsidePowerPointAndAFacePlainRectangleWithoutAMovie)
{
    MovieProperties properties;
    SetMovieBytes(properties, PictureMovie());
    std::vector<DWORD> pixels = DrawInactive(false, Record(properties, 5000, 4000));
    EXPECT_PRED2(Near, pixels[75 * kDrawWidth + 40], 0x808080u);

    // Bytes that are no movie: the button face, and no Flash control made.
    Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'm', 'o', 'v', 'i', 'e'};
    SetMovieBytes(properties, text);
    pixels = DrawInactive(true, Record(properties, 5000, 4000));
    EXPECT_PRED2(Near, pixels[75 * kDrawWidth + 40], FaceRgb());
    EXPECT_TRUE(log.Lines().empty());
}

// Without a Flash control registered, the snapshot is the button face and
// the warning is shown once in the process, whichever control fails first.
TEST(SnapshotWithoutFlash, DrawsTheFaceAndWarnsOnce)
{
    ComScope com;
    // Registered while Flash is there, so registering asks nothing; then
    // Flash goes.
    auto flash = std::make_unique<ControlRegistration>(StandInControl::Flash10);
    ASSERT_TRUE(flash->Registered());
    PlovapointRegistration registration;
    ASSERT_EQ(S_OK, registration.Result());
    flash.reset();
    ErrorBoxWatcher boxes(L"Plova Point Player");
    MovieProperties properties;
    SetMovieBytes(properties, PictureMovie());
    std::vector<DWORD> pixels = DrawInactive(true, Record(properties, 5000, 4000));
    EXPECT_PRED2(Near, pixels[75 * kDrawWidth + 40], FaceRgb());
    pixels = DrawInactive(true, Record(properties, 5000, 4000));
    EXPECT_PRED2(Near, pixels[75 * kDrawWidth + 40], FaceRgb());
    for (int i = 0; i < 100 && boxes.Texts().empty(); ++i)
        Sleep(20);
    const std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(0u, texts[0].rfind(L"Your system is not Flash(tm) enabled.\nPlease find out more at ", 0)) << texts[0];
}

TEST_F(ControlTest, StaysInPlaceActiveUntilClosedAndKeepsItsFlashSizeOnAZeroHeight)
{
    HostWindow window(kDrawWidth, kDrawHeight);
    RECT position = {0, 0, kDrawWidth, kDrawHeight};
    TestControlSite* site = new TestControlSite(window.Get(), position, false, nullptr);
    DocumentContainer* document = new DocumentContainer(nullptr, true);
    site->SetContainer(document);
    document->Release();
    MovieProperties properties;
    SetMovieBytes(properties, PictureMovie());
    IStream* stream = StreamOf(Record(properties, 5000, 4000));
    IOleObject* control = nullptr;
    ASSERT_EQ(S_OK, site->CreateFromStream(CLSID_FOfficeDoc, stream, &control));
    stream->Release();
    IOleInPlaceObject* inPlace = QueryAs<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    HWND own = nullptr;
    ASSERT_EQ(S_OK, inPlace->GetWindow(&own));
    HWND flash = GetWindow(own, GW_CHILD);
    ASSERT_NE(nullptr, flash);

    RECT before = {};
    GetClientRect(flash, &before);
    SendMessageA(own, WM_SIZE, 0, MAKELPARAM(120, 0));
    RECT after = {};
    GetClientRect(flash, &after);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom, after.bottom);
    SendMessageA(own, WM_SIZE, 0, MAKELPARAM(120, 90));
    GetClientRect(flash, &after);
    EXPECT_EQ(120, after.right);
    EXPECT_EQ(90, after.bottom);

    // Deactivation is refused until the container closes the control.
    EXPECT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_TRUE(IsWindow(own));
    EXPECT_EQ(S_OK, control->Close(OLECLOSE_NOSAVE));
    EXPECT_EQ(S_OK, inPlace->InPlaceDeactivate());
    EXPECT_FALSE(IsWindow(own));

    inPlace->Release();
    TestControlSite::Destroy(control);
    control->Release();
    site->Release();
}

TEST_F(ControlTest, HostedInWinesAtlContainerItPlaysThroughAFlashControl)
{
    AtlAxHost host(L"PlovaPoint.player.1", 160, 120);
    IUnknown* control = host.Control();
    ASSERT_NE(nullptr, control);
    IFOfficeDoc* doc = QueryAs<IFOfficeDoc>(control, IID_IFOfficeDoc);
    ASSERT_NE(nullptr, doc);
    doc->Release();
    control->Release();
    // The live control was made in the control's window and set up before
    // its movie: not playing, scale mode, quality, then the frame and loop.
    EXPECT_TRUE(log.Contains(L"flash host in place windowed"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(125, put)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(120, put)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(141, put)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(127, call)"));
    EXPECT_TRUE(log.Contains(L"IDispatch.Invoke(106, put)"));
}

// PowerPoint with a show of two slides; the control is activated in a site
// whose document is the presentation and sits on the first slide.
class ShowEventsTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        host = std::make_unique<standin::PowerPointHost>(L"14.0");
        presentation = host->App().AddPresentation(L"Movie.pptx");
        first = presentation->AddSlide();
        presentation->AddSlide()->AddShape(PowerPoint::msoAutoShape, L"Other", 0, 0, 100, 100);
        standin::CallLog::Get().Clear();
        standin::CallLog::Get().SetRecording(true);

        window = std::make_unique<HostWindow>(200, 150);
        RECT position = {0, 0, 200, 150};
        site = new TestControlSite(window->Get(), position, false, nullptr);
        DocumentContainer* document = new DocumentContainer(host->App().AsDispatch(), true);
        site->SetContainer(document);
        document->Release();
        MovieProperties properties;
        SetMovieBytes(properties, PictureMovie());
        properties.startFrame = 3;
        IStream* stream = StreamOf(Record(properties, 5000, 4000));
        ASSERT_EQ(S_OK, site->CreateFromStream(CLSID_FOfficeDoc, stream, &control));
        stream->Release();
        dispatch = QueryAs<IDispatch>(control, IID_IDispatch);
        // Upper case: the ProgID is compared without case.
        shape = first->AddShape(PowerPoint::msoOLEControlObject, L"Movie", 0, 0, 200, 150);
        shape->SetOle(L"PLOVAPOINT.PLAYER.1", dispatch);
    }

    void TearDown() override
    {
        standin::CallLog::Get().SetRecording(false);
        if (control) {
            control->Close(OLECLOSE_NOSAVE);
            TestControlSite::Destroy(control);
        }
        if (shape)
            shape->SetOle(L"", nullptr);
        if (dispatch)
            dispatch->Release();
        if (control)
            control->Release();
        if (site)
            site->Release();
        window.reset();
        host.reset();
    }

    std::unique_ptr<standin::PowerPointHost> host;
    standin::PresentationObject* presentation = nullptr;
    standin::SlideObject* first = nullptr;
    standin::ShapeObject* shape = nullptr;
    std::unique_ptr<HostWindow> window;
    TestControlSite* site = nullptr;
    IOleObject* control = nullptr;
    IDispatch* dispatch = nullptr;
};

std::vector<std::wstring> FlashCalls(const ControlLogFile& log)
{
    std::vector<std::wstring> calls;
    for (const std::wstring& line : log.Lines()) {
        for (const wchar_t* call : {L"Invoke(127, call)", L"Invoke(112, call)", L"Invoke(113, call)"}) {
            if (line.find(call) != std::wstring::npos)
                calls.push_back(call);
        }
    }
    return calls;
}

TEST_F(ShowEventsTest, ItsSlideRestartsTheMovieAnotherSlideAndTheEndRewindIt)
{
    // The sink went on the point of the application event interface.
    std::vector<std::wstring> advises = standin::CallLog::Get().EntriesStartingWith(L"Application.FindConnection");
    EXPECT_EQ(1u, advises.size());

    log.Clear();
    PowerPoint::SlideShowWindow* show = nullptr;
    ASSERT_EQ(S_OK, presentation->Settings()->Run(&show));
    show->Release();
    // 2013 for the control's own slide: to the start frame, then play.
    EXPECT_EQ((std::vector<std::wstring>{L"Invoke(127, call)", L"Invoke(112, call)"}), FlashCalls(log));

    log.Clear();
    presentation->ShowWindow()->View()->Next();
    // Another slide: stop, then back to the start frame.
    EXPECT_EQ((std::vector<std::wstring>{L"Invoke(113, call)", L"Invoke(127, call)"}), FlashCalls(log));

    log.Clear();
    presentation->ShowWindow()->View()->Next();
    // 2014: the show ends.
    EXPECT_EQ((std::vector<std::wstring>{L"Invoke(113, call)", L"Invoke(127, call)"}), FlashCalls(log));
}

TEST_F(ShowEventsTest, EventsOutsideTheInterfaceOrWithWrongArgumentsAreRefused)
{
    auto answers = [&](DISPID id, const std::vector<VARIANT>& args) {
        std::vector<HRESULT> all = host->App().Raise(id, args);
        return all.empty() ? S_OK : all.front();
    };
    VARIANT presentationArg;
    VariantInit(&presentationArg);
    presentationArg.vt = VT_DISPATCH;
    presentationArg.pdispVal = static_cast<PowerPoint::Presentation*>(presentation);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, answers(2000, {presentationArg}));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, answers(2025, {presentationArg}));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, answers(PowerPoint::DISPID_SlideShowNextSlide, {presentationArg, presentationArg}));
    // A presentation where a show window belongs.
    EXPECT_EQ(E_INVALIDARG, answers(PowerPoint::DISPID_SlideShowNextSlide, {presentationArg}));
    EXPECT_EQ(S_OK, answers(PowerPoint::DISPID_SlideShowEnd, {presentationArg}));
}

}  // namespace
