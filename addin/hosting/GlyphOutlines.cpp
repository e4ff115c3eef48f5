#include "addin/hosting/GlyphOutlines.h"

#include "base/MKBase64.h"
#include "base/MKBinaryWriter.h"
#include "base/MKDefaultFont.h"
#include "base/MKMemOutStream.h"
#include "base/MKTArray.h"

#include <string.h>
#include <windows.h>

namespace GlyphOutlines {

namespace {

enum Command : uint8_t { MoveTo = 1, LineTo = 2, CurveTo = 3 };

struct Point {
    int32_t x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
    bool operator!=(const Point& other) const { return !(*this == other); }
};

// A FIXED (fraction word, then integer word) as 16.16.
Point ReadPoint(const uint8_t* at)
{
    Point point;
    memcpy(&point.x, at, 4);
    memcpy(&point.y, at + 4, 4);
    return point;
}

class PathWriter {
public:
    void Segment(Command command, const Point& point)
    {
        // A repeated point adds nothing, except as the glyph's first.
        if (m_hasLast && point == m_last)
            return;
        Add(command, &point, 1);
    }
    void Curve(const Point& control, const Point& end)
    {
        const Point points[2] = {control, end};
        Add(CurveTo, points, 2);
    }
    bool HasLast() const { return m_hasLast; }
    const Point& Last() const { return m_last; }
    void Write(int advance, MKBinaryWriter& writer) const
    {
        writer.WriteU8(1);
        writer.WriteInt32(advance);
        writer.WriteInt32(m_commands.GetCount());
        writer.WriteInt32(m_coordinates.GetCount());
        writer.Write(m_commands.GetData(), m_commands.GetCount());
        for (int i = 0; i < m_coordinates.GetCount(); ++i)
            writer.WriteInt32(m_coordinates[i]);
    }

private:
    void Add(Command command, const Point* points, int count)
    {
        m_commands.Add(command);
        for (int i = 0; i < count; ++i) {
            m_coordinates.Add(points[i].x);
            m_coordinates.Add(points[i].y);
        }
        m_last = points[count - 1];
        m_hasLast = true;
    }

    MKTArray<uint8_t> m_commands;
    MKTArray<int32_t> m_coordinates;
    Point m_last = {0, 0};
    bool m_hasLast = false;
};

// One polygon of the outline, from just after its header to its end.
bool WalkPolygon(const uint8_t* at, const uint8_t* end, const Point& start, PathWriter& path)
{
    Point previous = start, first = start;
    bool emitted = false;
    while (at < end) {
        if (end - at < 4)
            return false;
        WORD type, count;
        memcpy(&type, at, 2);
        memcpy(&count, at + 2, 2);
        const uint8_t* points = at + 4;
        if ((end - points) / 8 < count)
            return false;
        at = points + size_t(count) * 8;
        if (type == TT_PRIM_LINE) {
            for (int i = 0; i < count; ++i) {
                const Point point = ReadPoint(points + i * 8);
                if (!emitted)
                    first = point;
                path.Segment(emitted ? LineTo : MoveTo, point);
                emitted = true;
            }
        } else if (type == TT_PRIM_QSPLINE && count >= 2) {
            if (!emitted) {
                first = previous;
                path.Segment(MoveTo, previous);
                emitted = true;
            }
            for (int i = 0; i + 1 < count; ++i) {
                const Point control = ReadPoint(points + i * 8), next = ReadPoint(points + (i + 1) * 8);
                const Point target = i + 2 == count ? next : Point{(control.x + next.x) / 2, (control.y + next.y) / 2};
                path.Curve(control, target);
            }
        }
        if (count > 0)
            previous = ReadPoint(points + (count - 1) * 8);
    }
    if (emitted) {
        if (path.Last() != start)
            path.Segment(LineTo, start);
        if (first != start)
            path.Segment(LineTo, first);
    }
    return true;
}

bool WalkOutline(const uint8_t* outline, int size, PathWriter& path)
{
    const uint8_t* at = outline;
    const uint8_t* end = outline + size;
    while (end - at >= int(sizeof(TTPOLYGONHEADER))) {
        TTPOLYGONHEADER header;
        memcpy(&header, at, sizeof(header));
        if (header.dwType != TT_POLYGON_TYPE)
            break;
        if (header.cb < sizeof(header) || header.cb > size_t(end - at))
            return false;
        if (!WalkPolygon(at + sizeof(header), at + header.cb, ReadPoint(at + 8), path))
            return false;
        at += header.cb;
    }
    return true;
}

// GetGlyphOutline's record for one UTF-16 code unit.
void WriteGlyph(HDC dc, wchar_t unit, MKBinaryWriter& writer)
{
    static const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const UINT format = GGO_NATIVE | GGO_UNHINTED;
    const UINT glyph = unit;
    GLYPHMETRICS metrics;
    const DWORD needed = GetGlyphOutlineW(dc, glyph, format, &metrics, 0, nullptr, &kIdentity);
    if (needed == GDI_ERROR) {
        writer.WriteU8(0);
        return;
    }
    MKTArray<uint8_t> outline;
    if (needed > 0 &&
        (!outline.SetSize(int(needed)) ||
         GetGlyphOutlineW(dc, glyph, format, &metrics, needed, outline.GetData(), &kIdentity) == GDI_ERROR)) {
        writer.WriteU8(0);
        return;
    }
    WriteRecord(outline.GetData(), outline.GetCount(), metrics.gmCellIncX, writer);
}

}  // namespace

void WriteRecord(const uint8_t* outline, int size, int advance, MKBinaryWriter& writer)
{
    PathWriter path;
    if (size < 0 || (size > 0 && !outline) || !WalkOutline(outline, size, path)) {
        writer.WriteU8(0);
        return;
    }
    path.Write(advance, writer);
}

MKString Answer(const MKString& request)
{
    const int separator = request.FindChar(L';');
    if (separator < 0 || separator <= 2)
        return MKString();
    const MKString spec = request.Left(separator);
    const MKString characters = request.Mid(separator + 1);
    MKDefaultFont description;
    LOGFONTW& font = description.font;
    const int nameLength = spec.GetLength() - 2 < LF_FACESIZE - 1 ? spec.GetLength() - 2 : LF_FACESIZE - 1;
    memset(font.lfFaceName, 0, sizeof(font.lfFaceName));
    memcpy(font.lfFaceName, spec.GetText(), size_t(nameLength) * sizeof(wchar_t));
    font.lfHeight = -2048;
    font.lfWidth = 0;
    font.lfWeight = spec[spec.GetLength() - 2] != L'0' ? FW_BOLD : FW_NORMAL;
    font.lfItalic = spec[spec.GetLength() - 1] != L'0' ? TRUE : FALSE;
    HFONT handle = CreateFontIndirectW(&font);
    if (!handle)
        return MKString();
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = dc ? SelectObject(dc, handle) : nullptr;
    MKString answer;
    if (previous && previous != HGDI_ERROR) {
        MKMemOutStream bytes;
        MKBinaryWriter writer(&bytes);
        if (characters.IsEmpty()) {
            TEXTMETRICW metrics = {};
            GetTextMetricsW(dc, &metrics);
            writer.WriteInt32(metrics.tmAscent);
            writer.WriteInt32(metrics.tmDescent);
            writer.WriteInt32(metrics.tmInternalLeading);
            writer.WriteInt32(metrics.tmExternalLeading);
        } else {
            // One record per UTF-16 code unit: movies index the answer by
            // the units of their own string.
            const wchar_t* text = characters.GetText();
            for (int i = 0; i < characters.GetLength(); ++i)
                WriteGlyph(dc, text[i], writer);
        }
        writer.Close();
        answer = MKBase64EncodeString(bytes.GetData(), bytes.GetCount());
        SelectObject(dc, previous);
    }
    if (dc)
        ReleaseDC(nullptr, dc);
    DeleteObject(handle);
    return answer;
}

}  // namespace GlyphOutlines
