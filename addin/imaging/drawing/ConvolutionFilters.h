#pragma once
#include <stdint.h>
#include <vector>

// Resampling kernels of the convolution resizer; any other number has a
// kernel that is 0 everywhere.
enum class ConvolutionMethod : int32_t { Box = 0, Lanczos3 = 1 };

// Weights are 16-bit fixed point with 14 fraction bits; every filter sums to
// exactly this.
constexpr int kFilterOne = 1 << 14;

// One axis: output pixel k is filter k, a run of weights over source pixels
// first .. first + count - 1.
class FixedFilterList {
public:
    void Append(int firstSource, const int16_t* values, int count);
    // The weights of filter k with its first source pixel and count.
    const int16_t* Get(int k, int* firstSource, int* count) const;
    int GetFilterCount() const { return int(m_filters.size()); }
    int GetMaxCount() const { return m_maxCount; }

private:
    struct Filter {
        int32_t offset;
        int32_t first;
        int32_t count;
    };
    std::vector<Filter> m_filters;
    std::vector<int16_t> m_values;
    int m_maxCount = 0;
};

// Integer filters of both axes for one resize from a source size to an
// output size, for the output pixels of a subset rectangle.
class ScaleFilterSet {
public:
    ScaleFilterSet(ConvolutionMethod method, int sourceWidth, int sourceHeight, int outputWidth,
                   int outputHeight, int subsetX, int subsetY, int subsetWidth, int subsetHeight);

    const FixedFilterList& GetHorizontal() const { return m_horizontal; }
    const FixedFilterList& GetVertical() const { return m_vertical; }

    static float Kernel(ConvolutionMethod method, float x);

private:
    void BuildAxis(int sourceSize, int subsetStart, int subsetSize, float scale, float sourceSupport,
                   FixedFilterList& out) const;

    ConvolutionMethod m_method;
    FixedFilterList m_horizontal;
    FixedFilterList m_vertical;
};
