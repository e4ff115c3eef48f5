// Glyph outlines for effect movies: the record format over outlines built by
// hand, and real glyphs of an installed TrueType font drawn back with GDI.
#include "addin/hosting/GlyphOutlines.h"
#include "base/MKBase64.h"
#include "base/MKBinaryWriter.h"
#include "base/MKMemOutStream.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// The face every test asks for: a TrueType font the test machine has.
const wchar_t kFace[] = L"DejaVu Sans";

struct Record {
    bool ok = false;
    int32_t advance = 0;
    std::vector<uint8_t> commands;
    std::vector<int32_t> coordinates;
};

class Reader {
public:
    explicit Reader(std::vector<uint8_t> bytes) : m_bytes(std::move(bytes)) { }
    bool AtEnd() const { return m_at == m_bytes.size(); }
    bool Int(int32_t& value)
    {
        if (m_bytes.size() - m_at < 4)
            return false;
        memcpy(&value, m_bytes.data() + m_at, 4);
        m_at += 4;
        return true;
    }
    bool Records(std::vector<Record>& records)
    {
        while (!AtEnd()) {
            Record record;
            record.ok = m_bytes[m_at++] != 0;
            if (record.ok) {
                int32_t n = 0, m = 0;
                if (!Int(record.advance) || !Int(n) || !Int(m) || n < 0 || m < 0 || m_bytes.size() - m_at < size_t(n))
                    return false;
                record.commands.assign(m_bytes.begin() + m_at, m_bytes.begin() + m_at + n);
                m_at += n;
                record.coordinates.resize(m);
                for (int32_t& c : record.coordinates) {
                    if (!Int(c))
                        return false;
                }
            }
            records.push_back(record);
        }
        return true;
    }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_at = 0;
};

std::vector<uint8_t> Decode(const MKString& answer)
{
    std::vector<uint8_t> bytes(size_t(answer.GetLength()) / 4 * 3 + 3);
    int n = MKBase64Decode(answer.GetText(), answer.GetLength(), bytes.data(), int(bytes.size()));
    bytes.resize(size_t(n));
    return bytes;
}

std::vector<Record> RecordsOf(const MKString& answer)
{
    std::vector<Record> records;
    EXPECT_TRUE(Reader(Decode(answer)).Records(records));
    return records;
}

MKString Request(const wchar_t* flags, const wchar_t* characters)
{
    MKString request(kFace);
    request.AppendText(flags);
    request.AppendText(L";");
    request.AppendText(characters);
    return request;
}

// A native outline written by hand: polygons of line and spline records.
class OutlineBuilder {
public:
    void Polygon(int32_t x, int32_t y)
    {
        m_polygonStart = m_bytes.size();
        Put<DWORD>(0);  // cb, set when the polygon ends
        Put<DWORD>(TT_POLYGON_TYPE);
        Put(x << 16);
        Put(y << 16);
    }
    void Curve(WORD type, std::initializer_list<std::pair<int32_t, int32_t>> points, int claimed = -1)
    {
        Put(type);
        Put(WORD(claimed < 0 ? points.size() : claimed));
        for (auto [x, y] : points) {
            Put(x << 16);
            Put(y << 16);
        }
        DWORD size = DWORD(m_bytes.size() - m_polygonStart);
        memcpy(m_bytes.data() + m_polygonStart, &size, 4);
    }
    void SetPolygonSize(DWORD size) { memcpy(m_bytes.data() + m_polygonStart, &size, 4); }
    std::vector<Record> Records(int advance = 7) const
    {
        MKMemOutStream stream;
        MKBinaryWriter writer(&stream);
        GlyphOutlines::WriteRecord(m_bytes.data(), int(m_bytes.size()), advance, writer);
        std::vector<Record> records;
        EXPECT_TRUE(
            Reader(std::vector<uint8_t>(stream.GetData(), stream.GetData() + stream.GetCount())).Records(records));
        return records;
    }

private:
    template <class T>
    void Put(T value)
    {
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&value);
        m_bytes.insert(m_bytes.end(), bytes, bytes + sizeof(T));
    }

    std::vector<uint8_t> m_bytes;
    size_t m_polygonStart = 0;
};

std::vector<int32_t> Fixed(std::initializer_list<int32_t> values)
{
    std::vector<int32_t> result;
    for (int32_t v : values)
        result.push_back(v << 16);
    return result;
}

TEST(GlyphOutlines, WritesLinesAndClosesThePolygon)
{
    OutlineBuilder outline;
    outline.Polygon(0, 0);
    outline.Curve(TT_PRIM_LINE, {{10, 0}, {10, 10}, {10, 10}, {0, 10}});
    std::vector<Record> records = outline.Records();
    ASSERT_EQ(1u, records.size());
    EXPECT_TRUE(records[0].ok);
    EXPECT_EQ(7, records[0].advance);
    // The repeated point is left out; the path closes over the start point
    // back to its first point.
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 2, 2, 2}), records[0].commands);
    EXPECT_EQ(Fixed({10, 0, 10, 10, 0, 10, 0, 0, 10, 0}), records[0].coordinates);
}

TEST(GlyphOutlines, SplitsSplinesAtTheMidpoints)
{
    OutlineBuilder outline;
    outline.Polygon(0, 0);
    outline.Curve(TT_PRIM_QSPLINE, {{4, 8}, {12, 8}, {16, 0}});
    outline.Curve(TT_PRIM_QSPLINE, {{9, 9}});  // too short: skipped
    std::vector<Record> records = outline.Records();
    ASSERT_EQ(1u, records.size());
    EXPECT_EQ((std::vector<uint8_t>{1, 3, 3, 2}), records[0].commands);
    EXPECT_EQ(Fixed({0, 0, 4, 8, 8, 8, 12, 8, 16, 0, 0, 0}), records[0].coordinates);
}

TEST(GlyphOutlines, RefusesSizeFieldsThatLeaveTheBuffer)
{
    OutlineBuilder longPolygon;
    longPolygon.Polygon(0, 0);
    longPolygon.Curve(TT_PRIM_LINE, {{10, 0}});
    longPolygon.SetPolygonSize(4000);
    OutlineBuilder shortPolygon;
    shortPolygon.Polygon(0, 0);
    shortPolygon.Curve(TT_PRIM_LINE, {{10, 0}});
    shortPolygon.SetPolygonSize(8);
    OutlineBuilder manyPoints;
    manyPoints.Polygon(0, 0);
    manyPoints.Curve(TT_PRIM_LINE, {{10, 0}}, 500);
    for (const OutlineBuilder* outline : {&longPolygon, &shortPolygon, &manyPoints}) {
        std::vector<Record> records = outline->Records();
        ASSERT_EQ(1u, records.size());
        EXPECT_FALSE(records[0].ok);
    }
}

TEST(GlyphOutlines, AnswersMetricsOrNothingForMalformedRequests)
{
    std::vector<uint8_t> metrics = Decode(GlyphOutlines::Answer(Request(L"10", L"")));
    ASSERT_EQ(16u, metrics.size());
    int32_t ascent;
    memcpy(&ascent, metrics.data(), 4);
    EXPECT_GT(ascent, 1024);
    EXPECT_TRUE(GlyphOutlines::Answer(MKString(L"10;A")).IsEmpty());
    EXPECT_TRUE(GlyphOutlines::Answer(MKString(L"DejaVu Sans00")).IsEmpty());

    std::vector<Record> records = RecordsOf(GlyphOutlines::Answer(Request(L"00", L" A\xD835\xDC00")));
    // One record per UTF-16 code unit, each half of the surrogate pair too:
    // movies index the answer by the units of their string.
    ASSERT_EQ(4u, records.size());
    EXPECT_TRUE(records[0].ok);
    EXPECT_GT(records[0].advance, 0);
    EXPECT_TRUE(records[0].commands.empty());
    EXPECT_TRUE(records[0].coordinates.empty());
    EXPECT_TRUE(records[1].ok);
    EXPECT_FALSE(records[1].commands.empty());
}

// Draws a record's path scaled to `scale` pixels per font unit with its
// baseline at y = `baseline`, filled black on white.
void FillRecord(HDC dc, const Record& record, double scale, int x0, int baseline)
{
    auto px = [&](int32_t v) { return int(x0 + v / 65536.0 * scale + 0.5); };
    auto py = [&](int32_t v) { return int(baseline - v / 65536.0 * scale + 0.5); };
    BeginPath(dc);
    size_t c = 0;
    POINT last = {};
    for (uint8_t command : record.commands) {
        if (command == 3) {
            POINT control = {px(record.coordinates[c]), py(record.coordinates[c + 1])};
            POINT end = {px(record.coordinates[c + 2]), py(record.coordinates[c + 3])};
            // The quadratic curve as the cubic with the same shape.
            POINT cubic[3] = {{last.x + 2 * (control.x - last.x) / 3, last.y + 2 * (control.y - last.y) / 3},
                              {end.x + 2 * (control.x - end.x) / 3, end.y + 2 * (control.y - end.y) / 3},
                              end};
            PolyBezierTo(dc, cubic, 3);
            last = end;
            c += 4;
        } else {
            POINT point = {px(record.coordinates[c]), py(record.coordinates[c + 1])};
            if (command == 1) {
                CloseFigure(dc);
                MoveToEx(dc, point.x, point.y, nullptr);
            } else {
                LineTo(dc, point.x, point.y);
            }
            last = point;
            c += 2;
        }
    }
    CloseFigure(dc);
    EndPath(dc);
    SetPolyFillMode(dc, WINDING);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    FillPath(dc);
}

TEST(GlyphOutlines, OutlinesCoverWhatGdiDrawsOfTheSameGlyph)
{
    const int size = 200, baseline = 160;
    std::vector<Record> records = RecordsOf(GlyphOutlines::Answer(Request(L"10", L"G&")));
    ASSERT_EQ(2u, records.size());
    HDC screen = GetDC(nullptr);
    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(records[k].ok);
        HDC dcs[2];
        HBITMAP bitmaps[2];
        for (int i = 0; i < 2; ++i) {
            dcs[i] = CreateCompatibleDC(screen);
            bitmaps[i] = CreateCompatibleBitmap(screen, size, size);
            SelectObject(dcs[i], bitmaps[i]);
            PatBlt(dcs[i], 0, 0, size, size, WHITENESS);
        }
        FillRecord(dcs[0], records[k], 128.0 / 2048, 20, baseline);
        LOGFONTW font = {};
        font.lfHeight = -128;
        font.lfWeight = FW_BOLD;
        wcscpy(font.lfFaceName, kFace);
        HFONT handle = CreateFontIndirectW(&font);
        HGDIOBJ previous = SelectObject(dcs[1], handle);
        SetTextAlign(dcs[1], TA_BASELINE | TA_LEFT);
        SetBkMode(dcs[1], TRANSPARENT);
        const wchar_t glyph = k == 0 ? L'G' : L'&';
        TextOutW(dcs[1], 20, baseline, &glyph, 1);
        SelectObject(dcs[1], previous);
        DeleteObject(handle);
        int both = 0, either = 0, outline = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const bool a = GetPixel(dcs[0], x, y) == RGB(0, 0, 0);
                const bool b = GetRValue(GetPixel(dcs[1], x, y)) < 128;
                both += a && b;
                either += a || b;
                outline += a;
            }
        }
        EXPECT_GT(outline, 500);
        EXPECT_GT(double(both) / either, 0.85) << both << " of " << either;
        for (int i = 0; i < 2; ++i) {
            DeleteDC(dcs[i]);
            DeleteObject(bitmaps[i]);
        }
    }
    ReleaseDC(nullptr, screen);
}

}  // namespace
