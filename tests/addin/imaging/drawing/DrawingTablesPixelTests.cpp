#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"
#include "base/MKString.h"
#include "fixtures/BmpWriter.h"
#include "fixtures/Fixtures.h"
#include "fixtures/GifWriter.h"

#include "DrawingPlugin.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string>
#include <vector>

// Pixels through the tables' own entry points, checked against values worked
// out by hand.

namespace {

// Straight colour to premultiplied channels (A, R, G, B) in 0..255 units.
struct Premul {
    double a, r, g, b;
};

Premul FromStraight(uint32_t c)
{
    double a = (c >> 24) / 255.0;
    return {a * 255, ((c >> 16) & 0xFF) * a, ((c >> 8) & 0xFF) * a, (c & 0xFF) * a};
}

// The Porter-Duff and blend formulas of each mode, on premultiplied values
// scaled to 0..1 (s: source, d: destination, sa / da: their alphas).
Premul Blend(int mode, Premul S, Premul D)
{
    auto each = [&](auto f) {
        double sa = S.a / 255, da = D.a / 255;
        auto ch = [&](double s, double d, bool alpha) { return 255 * f(s / 255, d / 255, sa, da, alpha); };
        return Premul{ch(S.a, D.a, true), ch(S.r, D.r, false), ch(S.g, D.g, false), ch(S.b, D.b, false)};
    };
    switch (mode) {
    case 0: return {0, 0, 0, 0};
    case 1: return S;
    case 2: return D;
    case 3: return each([](double s, double d, double sa, double, bool) { return s + (1 - sa) * d; });
    case 4: return each([](double s, double d, double, double da, bool) { return d + (1 - da) * s; });
    case 5: return each([](double s, double, double, double da, bool) { return s * da; });
    case 6: return each([](double, double d, double sa, double, bool) { return d * sa; });
    case 7: return each([](double s, double, double, double da, bool) { return s * (1 - da); });
    case 8: return each([](double, double d, double sa, double, bool) { return d * (1 - sa); });
    case 9:
        return each([](double s, double d, double sa, double da, bool alpha) {
            return alpha ? da : s * da + (1 - sa) * d;
        });
    case 10:
        return each([](double s, double d, double sa, double da, bool alpha) {
            return alpha ? sa : sa * d + s * (1 - da);
        });
    case 11: return each([](double s, double d, double sa, double da, bool) { return s * (1 - da) + (1 - sa) * d; });
    case 12:
        return each([](double s, double d, double sa, double da, bool alpha) {
            return alpha ? sa + da - sa * da : s + d - fmax(s * da, d * sa);
        });
    case 13:
        return each([](double s, double d, double sa, double da, bool alpha) {
            return alpha ? sa + da - sa * da : s + d - fmin(s * da, d * sa);
        });
    case 14: return each([](double s, double d, double, double, bool) { return s * d; });
    case 15: return each([](double s, double d, double, double, bool) { return s + d - s * d; });
    default: return each([](double s, double d, double, double, bool) { return fmin(1.0, s + d); });
    }
}

// The bitmap's colour at (x, y) as GetPixel answers it, premultiplied again.
Premul PixelOf(DrawingPlugin& plugin, Object bitmap, int x, int y)
{
    return FromStraight(plugin.Pixel(bitmap, x, y));
}

void ExpectNear(const Premul& actual, const Premul& expected, const char* what, int mode)
{
    // Eight-bit arithmetic rounds each product; straight colours read back
    // lose a little more at low alpha.
    const double tolerance = 2.5;
    EXPECT_NEAR(actual.a, expected.a, tolerance) << what << " mode " << mode;
    EXPECT_NEAR(actual.r, expected.r, tolerance) << what << " mode " << mode;
    EXPECT_NEAR(actual.g, expected.g, tolerance) << what << " mode " << mode;
    EXPECT_NEAR(actual.b, expected.b, tolerance) << what << " mode " << mode;
}

// Records the names of files created in a folder while it is alive: the
// file system reports them in order, so a marker file made at the end shows
// when every earlier creation has been seen.
class CreationWatch {
public:
    explicit CreationWatch(const std::wstring& folder) : m_folder(folder)
    {
        m_directory = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        m_overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        Arm();
    }
    ~CreationWatch()
    {
        if (m_directory != INVALID_HANDLE_VALUE) {
            CancelIo(m_directory);
            CloseHandle(m_directory);
        }
        CloseHandle(m_overlapped.hEvent);
    }
    bool Watching() const { return m_armed; }

    // Every name created before a marker of our own, made and removed now.
    std::vector<std::wstring> CreatedSoFar()
    {
        std::wstring marker = L"vistello-watch-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
        HANDLE file = CreateFileW((m_folder + marker).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        std::vector<std::wstring> created;
        DWORD deadline = GetTickCount() + 30000;  // a bound against hangs only
        while (m_armed && GetTickCount() < deadline) {
            if (WaitForSingleObject(m_overlapped.hEvent, 1000) != WAIT_OBJECT_0)
                continue;
            DWORD bytes = 0;
            if (!GetOverlappedResult(m_directory, &m_overlapped, &bytes, FALSE))
                break;
            bool sawMarker = false;
            for (size_t at = 0; bytes > 0;) {
                auto* info = reinterpret_cast<FILE_NOTIFY_INFORMATION*>(m_buffer + at);
                std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
                if (name == marker)
                    sawMarker = true;
                else if (info->Action == FILE_ACTION_ADDED)
                    created.push_back(name);
                if (!info->NextEntryOffset)
                    break;
                at += info->NextEntryOffset;
            }
            Arm();
            if (sawMarker)
                return created;
        }
        ADD_FAILURE() << "the marker file was never reported";
        return created;
    }

private:
    void Arm()
    {
        ResetEvent(m_overlapped.hEvent);
        m_armed = m_directory != INVALID_HANDLE_VALUE &&
                  ReadDirectoryChangesW(m_directory, m_buffer, sizeof(m_buffer), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME,
                                        nullptr, &m_overlapped, nullptr);
    }

    std::wstring m_folder;
    HANDLE m_directory = INVALID_HANDLE_VALUE;
    OVERLAPPED m_overlapped = {};
    alignas(DWORD) uint8_t m_buffer[16384];
    bool m_armed = false;
};

// A 4 x 2 picture, top row red, green, blue, white; bottom row black, gray
// (0x808080), yellow, cyan.
const uint32_t kFourByTwo[2][4] = {{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {0x000000, 0x808080, 0xFFFF00, 0x00FFFF}};

std::vector<uint8_t> PictureBmp()
{
    BmpFields f;
    f.width = 4;
    f.height = 2;
    f.bitCount = 24;
    for (int row = 1; row >= 0; --row)  // the file's first row is the bottom one
        for (uint32_t c : kFourByTwo[row])
            f.data.insert(f.data.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    return MakeBmp(f);
}

std::vector<uint8_t> PictureGif()
{
    GifFields f;
    f.width = 4;
    f.height = 2;
    f.globalColours = {kFourByTwo[0][0], kFourByTwo[0][1], kFourByTwo[0][2], kFourByTwo[0][3],
                       kFourByTwo[1][0], kFourByTwo[1][1], kFourByTwo[1][2], kFourByTwo[1][3]};
    GifFrameFields frame;
    frame.width = 4;
    frame.height = 2;
    frame.indices = {0, 1, 2, 3, 4, 5, 6, 7};
    f.frames = {frame};
    return MakeGif(f);
}

// Fills a rectangle in the canvas's own coordinates through its device context.
void GdiFill(DrawingPlugin& plugin, Object canvas, const RECT& rect, COLORREF colour)
{
    HDC dc = plugin.Call<HDC>(kCanvas, 1, canvas);
    ASSERT_NE(dc, nullptr);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    plugin.Call<void>(kCanvas, 2, canvas);
}

}  // namespace

TEST(DrawingTablePixels, GdiOutputOnAnOpaqueBitmapIsKeptByDrawingSavingAndReading)
{
    DrawingPlugin plugin;
    Object opaque = plugin.Bitmap(8, 8, true);
    ASSERT_NE(opaque, nullptr);
    Object canvas = plugin.CanvasOn(opaque);
    HDC dc = plugin.Call<HDC>(kCanvas, 1, canvas);
    ASSERT_NE(dc, nullptr);
    // GDI writes colour bytes and leaves the fourth byte 0.
    RECT all = {0, 0, 8, 8};
    HBRUSH brush = CreateSolidBrush(RGB(200, 30, 60));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    // Text with an opaque background over the left half.
    RECT left = {0, 0, 4, 8};
    SetBkColor(dc, RGB(10, 120, 250));
    SetTextColor(dc, RGB(0, 0, 0));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE | ETO_CLIPPED, &left, L"W", 1, nullptr);
    plugin.Call<void>(kCanvas, 2, canvas);
    plugin.Release(kCanvas, canvas);

    const uint32_t fill = 0xFFC81E3C;
    // Read back as the colours GDI drew, opaque.
    EXPECT_EQ(plugin.Pixel(opaque, 6, 4), fill);
    bool background = false;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 4; ++x) {
            uint32_t p = plugin.Pixel(opaque, x, y);
            EXPECT_EQ(p >> 24, 255u) << x << "," << y;
            EXPECT_NE(p, fill) << x << "," << y;
            background |= p == 0xFF0A78FA;
        }
    }
    EXPECT_TRUE(background);

    // Drawn onto a white bitmap: the GDI colours land, not the white.
    Object white = plugin.Bitmap(8, 8, false);
    plugin.Call<void>(kBitmap, 1, white, 0xFFFFFFFFu);
    Object onto = plugin.CanvasOn(white);
    plugin.Call<void>(kCanvas, 35, onto, opaque, 0.0f, 0.0f, Object(nullptr));
    plugin.Release(kCanvas, onto);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(plugin.Pixel(white, x, y), plugin.Pixel(opaque, x, y)) << x << "," << y;

    // Saved, then read by the image library: the same colours.
    ScratchFolder folder;
    std::wstring path = folder.File(L"gdi.png");
    ASSERT_EQ(plugin.Call<int>(kBitmap, 11, opaque, path.c_str()) & 0xFF, 1);
    RasterImage* image = LoadImageFile(MKString(path.c_str()));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->GetWidth(), 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            uint32_t p = plugin.Pixel(opaque, x, y);
            // The reader may keep a gray picture as gray; the colours here are not.
            ASSERT_EQ(image->GetPixelType(), PixelType::Rgb);
            const uint8_t* s = image->GetTopRow(y) + 3 * x;
            EXPECT_EQ(0xFF000000u | uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2], p) << x << "," << y;
        }
    }
    image->Release();
    plugin.Release(kBitmap, white);
    plugin.Release(kBitmap, opaque);
}

TEST(DrawingTablePixels, BmpAndGifDecodeWithoutTemporaryFiles)
{
    DrawingPlugin plugin;
    ScratchFolder folder;
    // Work in the scratch folder, so the drive root is the one it lies on,
    // with the temporary folder the run-time would use gone; both come back
    // however the test ends.
    struct Surroundings {
        wchar_t current[MAX_PATH] = {};
        std::wstring tmp = _wgetenv(L"TMP") ? _wgetenv(L"TMP") : L"";
        std::wstring temp = _wgetenv(L"TEMP") ? _wgetenv(L"TEMP") : L"";
        Surroundings() { GetCurrentDirectoryW(MAX_PATH, current); }
        ~Surroundings()
        {
            _wputenv_s(L"TMP", tmp.c_str());
            _wputenv_s(L"TEMP", temp.c_str());
            SetCurrentDirectoryW(current);
        }
    } surroundings;
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    std::wstring gone = folder.File(L"no such folder");
    _wputenv_s(L"TMP", gone.c_str());
    _wputenv_s(L"TEMP", gone.c_str());
    std::wstring root = folder.path().substr(0, 3);
    CreationWatch watch(root);
    ASSERT_TRUE(watch.Watching());

    struct Source {
        const wchar_t* name;
        std::vector<uint8_t> bytes;
    };
    const Source sources[] = {{L"picture.bmp", PictureBmp()}, {L"picture.gif", PictureGif()}};
    for (const Source& source : sources) {
        std::wstring path = folder.File(source.name);
        FILE* file = _wfopen(path.c_str(), L"wb");
        ASSERT_NE(file, nullptr);
        fwrite(source.bytes.data(), 1, source.bytes.size(), file);
        fclose(file);
        for (int slot : {11, 12, 13, 14}) {
            int width = 0, height = 0, opaque = 0;
            Object bitmap = slot == 11 || slot == 13
                                ? plugin.Call<Object>(kFactory, slot, plugin.factory, path.c_str(), &width, &height,
                                                      &opaque)
                                : plugin.Call<Object>(kFactory, slot, plugin.factory,
                                                      static_cast<const uint8_t*>(source.bytes.data()),
                                                      int(source.bytes.size()), &width, &height, &opaque);
            ASSERT_NE(bitmap, nullptr) << source.name << " slot " << slot;
            EXPECT_EQ(width, 4);
            EXPECT_EQ(height, 2);
            EXPECT_EQ(opaque, 1);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 4; ++x)
                    EXPECT_EQ(plugin.Pixel(bitmap, x, y), 0xFF000000u | kFourByTwo[y][x])
                        << source.name << " slot " << slot << " at " << x << "," << y;
            plugin.Release(kBitmap, bitmap);
        }
    }
    std::vector<std::wstring> created = watch.CreatedSoFar();
    EXPECT_TRUE(created.empty()) << "created in " << root << ": " << created[0];
}

TEST(DrawingTablePixels, EveryTransferModeGivesItsFormulaWhereTheShapeCovers)
{
    DrawingPlugin plugin;
    // Source 60 % red-orange, destination 80 % blue-ish: every mode gives a
    // different answer on these. The source is drawn once as a rectangle in
    // that colour, once as an opaque red-orange bitmap faded to 60 % by the
    // paint's alpha: the mode sees the faded colours either way.
    const uint32_t source = 0x99FF8000, destination = 0xCC4080FF;
    Object opaqueSource = plugin.Bitmap(2, 1, true);
    ASSERT_NE(opaqueSource, nullptr);
    plugin.Call<void>(kBitmap, 1, opaqueSource, 0xFF000000u | source);
    for (bool asBitmap : {false, true}) {
        const char* what = asBitmap ? "bitmap" : "rectangle";
        for (int mode = 0; mode <= 16; ++mode) {
            Object bitmap = plugin.Bitmap(3, 1, false);
            plugin.Call<void>(kBitmap, 1, bitmap, destination);
            Object canvas = plugin.CanvasOn(bitmap);
            Object paint = plugin.Paint(source);
            plugin.Call<void>(kPaint, 18, paint, mode);
            if (asBitmap)
                plugin.Call<void>(kCanvas, 35, canvas, opaqueSource, 0.0f, 0.0f, paint);
            else
                plugin.Call<void>(kCanvas, 23, canvas, 0.0f, 0.0f, 2.0f, 1.0f, paint);
            Premul expected = Blend(mode, FromStraight(source), FromStraight(destination));
            ExpectNear(PixelOf(plugin, bitmap, 0, 0), expected, what, mode);
            ExpectNear(PixelOf(plugin, bitmap, 1, 0), expected, what, mode);
            // Outside the shape the destination stays, whatever the mode.
            ExpectNear(PixelOf(plugin, bitmap, 2, 0), FromStraight(destination), what, mode);
            plugin.Release(kPaint, paint);
            plugin.Release(kCanvas, canvas);
            plugin.Release(kBitmap, bitmap);
        }
    }
    plugin.Release(kBitmap, opaqueSource);
}

TEST(DrawingTablePixels, GdiFollowsTheClipAfterManyMatrixChanges)
{
    DrawingPlugin plugin;
    Object bitmap = plugin.Bitmap(20, 20, true);
    plugin.Call<void>(kBitmap, 1, bitmap, 0xFFFFFFFFu);
    Object canvas = plugin.CanvasOn(bitmap);
    // A clip of 5..15 both ways, then the matrix moved about and back.
    plugin.Call<int>(kCanvas, 16, canvas, 5.0f, 5.0f, 10.0f, 10.0f, 1);
    for (int i = 0; i < 50; ++i) {
        plugin.Call<int>(kCanvas, 4, canvas, 1u);
        plugin.Call<int>(kCanvas, 8, canvas, float(i), 2.0f);
        plugin.Call<void>(kCanvas, 5, canvas);
    }
    plugin.Call<int>(kCanvas, 8, canvas, 2.0f, 0.0f);
    // In local coordinates -2..18: the whole bitmap after the translation.
    GdiFill(plugin, canvas, {-2, 0, 18, 20}, RGB(0, 0, 0));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool inside = x >= 5 && x < 15 && y >= 5 && y < 15;
            EXPECT_EQ(plugin.Pixel(bitmap, x, y), inside ? 0xFF000000u : 0xFFFFFFFFu) << x << "," << y;
        }
    }
    plugin.Release(kCanvas, canvas);
    plugin.Release(kBitmap, bitmap);
}

TEST(DrawingTablePixels, GdiFollowsTheCanvasItWasAskedFrom)
{
    DrawingPlugin plugin;
    Object bitmap = plugin.Bitmap(20, 20, true);
    plugin.Call<void>(kBitmap, 1, bitmap, 0xFFFFFFFFu);
    // Black over the local square 0..4 through a canvas's device context.
    auto fillCorner = [&](Object canvas) { GdiFill(plugin, canvas, {0, 0, 4, 4}, RGB(0, 0, 0)); };
    // One canvas moved by (10, 10) and clipped to 10..12, a second one on
    // the same bitmap moved by (5, 0): each draws where it stands.
    Object moved = plugin.CanvasOn(bitmap);
    plugin.Call<int>(kCanvas, 8, moved, 10.0f, 10.0f);
    plugin.Call<int>(kCanvas, 16, moved, 0.0f, 0.0f, 2.0f, 2.0f, 1);
    Object other = plugin.CanvasOn(bitmap);
    plugin.Call<int>(kCanvas, 8, other, 5.0f, 0.0f);
    fillCorner(moved);
    plugin.Release(kCanvas, moved);
    // A canvas made after the moved one is gone starts unmoved and unclipped.
    Object fresh = plugin.CanvasOn(bitmap);
    fillCorner(fresh);
    fillCorner(other);
    plugin.Release(kCanvas, fresh);
    plugin.Release(kCanvas, other);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            bool black = (x >= 10 && x < 12 && y >= 10 && y < 12) || (x < 4 && y < 4) || (x >= 5 && x < 9 && y < 4);
            EXPECT_EQ(plugin.Pixel(bitmap, x, y), black ? 0xFF000000u : 0xFFFFFFFFu) << x << "," << y;
        }
    }
    plugin.Release(kBitmap, bitmap);
}

TEST(DrawingTablePixels, EffectsReadGdiOutputOnOpaqueBitmapsAsOpaque)
{
    DrawingPlugin plugin;
    // Each pixel of a 3 x 1 opaque bitmap filled by GDI in its colour.
    auto gdiBitmap = [&](const COLORREF (&colours)[3]) {
        Object bitmap = plugin.Bitmap(3, 1, true);
        Object canvas = plugin.CanvasOn(bitmap);
        for (int x = 0; x < 3; ++x)
            GdiFill(plugin, canvas, {x, 0, x + 1, 1}, colours[x]);
        plugin.Release(kCanvas, canvas);
        return bitmap;
    };
    Object picture = gdiBitmap({RGB(200, 100, 50), RGB(200, 100, 50), RGB(200, 100, 50)});
    // Tint by mid gray on pixel 0: round(128 x 200 / 255) = 100, 50, 25.
    plugin.Call<void>(kBitmap, 13, picture, 0xFF808080u, 0, 0, 1, 1);
    // Gamma 2 on pixel 1: trunc(255 x sqrt(c / 255) + 0.5) = 226, 160, 113.
    plugin.Call<void>(kBitmap, 14, picture, 1, 0, 1, 1, 2.0);
    EXPECT_EQ(plugin.Pixel(picture, 0, 0), 0xFF643219u);
    EXPECT_EQ(plugin.Pixel(picture, 1, 0), 0xFFE2A071u);
    EXPECT_EQ(plugin.Pixel(picture, 2, 0), 0xFFC86432u);

    // A mask drawn by GDI: white keeps, mid gray halves, black clears.
    Object mask = gdiBitmap({RGB(255, 255, 255), RGB(128, 128, 128), RGB(0, 0, 0)});
    Object masked = plugin.Bitmap(3, 1, false);
    plugin.Call<void>(kBitmap, 1, masked, 0xFFFF0000u);
    plugin.Call<void>(kBitmap, 9, masked, mask, 0, 0, 0, 0, 3, 1, 0);
    EXPECT_EQ(plugin.Pixel(masked, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(plugin.Pixel(masked, 1, 0), 0x80FF0000u);
    EXPECT_EQ(plugin.Pixel(masked, 2, 0), 0u);
    for (Object o : {picture, mask, masked})
        plugin.Release(kBitmap, o);
}

TEST(DrawingTablePixels, ThirtyTwoBitBmpWithUnusedFourthBytesDecodesOpaque)
{
    DrawingPlugin plugin;
    struct Case {
        std::vector<uint8_t> data;  // B, G, R, fourth byte; two pixels
        int opaque;
        uint32_t left, right;
    };
    const Case cases[] = {
        {{10, 20, 250, 0, 150, 100, 50, 0}, 1, 0xFFFA140Au, 0xFF326496u},  // all 0: unused, opaque
        {{10, 20, 250, 0, 150, 100, 50, 255}, 0, 0u, 0xFF326496u},         // mixed: alpha as stored
    };
    for (const Case& c : cases) {
        BmpFields f;
        f.width = 2;
        f.bitCount = 32;
        f.data = c.data;
        std::vector<uint8_t> bytes = MakeBmp(f);
        int width = 0, height = 0, opaque = -1;
        Object bitmap = plugin.Call<Object>(kFactory, 12, plugin.factory, static_cast<const uint8_t*>(bytes.data()),
                                            int(bytes.size()), &width, &height, &opaque);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(width, 2);
        EXPECT_EQ(opaque, c.opaque);
        EXPECT_EQ(plugin.Pixel(bitmap, 0, 0), c.left);
        EXPECT_EQ(plugin.Pixel(bitmap, 1, 0), c.right);
        plugin.Release(kBitmap, bitmap);
    }
}
