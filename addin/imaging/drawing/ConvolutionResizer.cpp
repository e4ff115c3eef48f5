#include "addin/imaging/drawing/ConvolutionResizer.h"

#include <vector>

namespace {

// The last `size` horizontally filtered rows, oldest overwritten first.
class RowRing {
public:
    RowRing(int rowBytes, int size, int firstSourceRow)
        : m_rowBytes(rowBytes), m_size(size), m_nextSourceRow(firstSourceRow),
          m_buffer(size_t(rowBytes) * size_t(size)), m_ordered(size_t(size))
    {
    }

    uint8_t* Next()
    {
        uint8_t* row = m_buffer.data() + size_t(m_next) * size_t(m_rowBytes);
        ++m_nextSourceRow;
        if (++m_next == m_size)
            m_next = 0;
        return row;
    }

    int GetNextSourceRow() const { return m_nextSourceRow; }

    // The rows oldest first; *firstRow is the source row of the first (negative
    // while the ring has not filled yet).
    uint8_t* const* Ordered(int* firstRow)
    {
        *firstRow = m_nextSourceRow - m_size;
        int index = m_next;
        for (int i = 0; i < m_size; ++i) {
            m_ordered[size_t(i)] = m_buffer.data() + size_t(index) * size_t(m_rowBytes);
            if (++index == m_size)
                index = 0;
        }
        return m_ordered.data();
    }

private:
    int m_rowBytes;
    int m_size;
    int m_next = 0;
    int m_nextSourceRow;
    std::vector<uint8_t> m_buffer;
    std::vector<uint8_t*> m_ordered;
};

inline uint8_t ClampFixed(int32_t sum)
{
    sum >>= 14;
    return uint8_t(sum < 0 ? 0 : sum > 255 ? 255 : sum);
}

template <int Bpp, bool Alpha>
void FilterRow(const uint8_t* source, const FixedFilterList& filters, uint8_t* out)
{
    int outCount = filters.GetFilterCount();
    for (int k = 0; k < outCount; ++k) {
        int first, count;
        const int16_t* w = filters.Get(k, &first, &count);
        const uint8_t* p = source + first * Bpp;
        int32_t sums[4] = {0, 0, 0, 0};
        for (int i = 0; i < count; ++i, p += Bpp) {
            int32_t weight = w[i];
            if constexpr (Bpp == 1) {
                sums[0] += weight * p[0];
            } else {
                sums[0] += weight * p[0];
                sums[1] += weight * p[1];
                sums[2] += weight * p[2];
                if constexpr (Alpha)
                    sums[3] += weight * p[3];
            }
        }
        uint8_t* o = out + k * Bpp;
        if constexpr (Bpp == 1) {
            o[0] = ClampFixed(sums[0]);
        } else {
            o[0] = ClampFixed(sums[0]);
            o[1] = ClampFixed(sums[1]);
            o[2] = ClampFixed(sums[2]);
            if constexpr (Alpha)
                o[3] = ClampFixed(sums[3]);
        }
    }
}

template <int Bpp, bool Alpha>
void FilterColumn(const int16_t* w, int count, uint8_t* const* rows, int width, uint8_t* out)
{
    for (int x = 0; x < width; ++x) {
        int offset = x * Bpp;
        int32_t sums[4] = {0, 0, 0, 0};
        for (int i = 0; i < count; ++i) {
            const uint8_t* p = rows[i] + offset;
            int32_t weight = w[i];
            sums[0] += weight * p[0];
            if constexpr (Bpp == 4) {
                sums[1] += weight * p[1];
                sums[2] += weight * p[2];
                if constexpr (Alpha)
                    sums[3] += weight * p[3];
            }
        }
        uint8_t* o = out + offset;
        if constexpr (Bpp == 1) {
            o[0] = ClampFixed(sums[0]);
        } else {
            o[0] = ClampFixed(sums[0]);
            o[1] = ClampFixed(sums[1]);
            o[2] = ClampFixed(sums[2]);
            if constexpr (Alpha) {
                uint8_t a = ClampFixed(sums[3]);
                uint8_t m = o[0] > o[1] ? o[0] : o[1];
                if (o[2] > m)
                    m = o[2];
                o[3] = a > m ? a : m;
            } else {
                o[3] = 255;
            }
        }
    }
}

template <int Bpp, bool Alpha>
void Convolve(const uint8_t* source, int sourceRowBytes, const FixedFilterList& horizontal,
              const FixedFilterList& vertical, uint8_t* output)
{
    int width = horizontal.GetFilterCount();
    int outRowBytes = width * Bpp;
    int firstRow, count;
    vertical.Get(0, &firstRow, &count);
    RowRing ring(outRowBytes, vertical.GetMaxCount(), firstRow);
    int nextSourceRow = firstRow;
    for (int y = 0; y < vertical.GetFilterCount(); ++y) {
        int first;
        const int16_t* w = vertical.Get(y, &first, &count);
        while (nextSourceRow < first + count) {
            FilterRow<Bpp, Alpha>(source + ptrdiff_t(nextSourceRow) * sourceRowBytes, horizontal, ring.Next());
            ++nextSourceRow;
        }
        int ringFirst;
        uint8_t* const* rows = ring.Ordered(&ringFirst);
        FilterColumn<Bpp, Alpha>(w, count, rows + (first - ringFirst), width,
                                 output + ptrdiff_t(y) * outRowBytes);
    }
}

}  // namespace

void ConvolveBitmap2D(const uint8_t* source, int sourceRowBytes, int bytesPerPixel, bool hasAlpha,
                      const FixedFilterList& horizontal, const FixedFilterList& vertical, uint8_t* output)
{
    if (horizontal.GetFilterCount() == 0 || vertical.GetFilterCount() == 0)
        return;
    if (bytesPerPixel == 1)
        Convolve<1, true>(source, sourceRowBytes, horizontal, vertical, output);
    else if (hasAlpha)
        Convolve<4, true>(source, sourceRowBytes, horizontal, vertical, output);
    else
        Convolve<4, false>(source, sourceRowBytes, horizontal, vertical, output);
}

DrawBitmap ConvolutionResizeSubset(const DrawBitmap& source, ConvolutionMethod method, int width, int height,
                                   int subsetX, int subsetY, int subsetWidth, int subsetHeight)
{
    DrawBitmap result;
    int bpp = source.GetBytesPerPixel();
    if (source.IsEmpty() || bpp == 0 || width <= 0 || height <= 0)
        return result;
    // The subset must lie within the output so every filter has taps.
    if (subsetX < 0 || subsetY < 0 || subsetWidth <= 0 || subsetHeight <= 0 || subsetX > width - subsetWidth ||
        subsetY > height - subsetHeight)
        return result;
    ScaleFilterSet filters(method, source.GetWidth(), source.GetHeight(), width, height, subsetX, subsetY,
                           subsetWidth, subsetHeight);
    if (!result.Allocate(source.GetConfig(), subsetWidth, subsetHeight))
        return result;
    ConvolveBitmap2D(source.GetPixels(), source.GetRowBytes(), bpp, !source.IsOpaque(), filters.GetHorizontal(),
                     filters.GetVertical(), result.GetPixels());
    result.SetOpaque(source.IsOpaque());
    return result;
}

DrawBitmap ConvolutionResize(const DrawBitmap& source, ConvolutionMethod method, int width, int height)
{
    return ConvolutionResizeSubset(source, method, width, height, 0, 0, width, height);
}
