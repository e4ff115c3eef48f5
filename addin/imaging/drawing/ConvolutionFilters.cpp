#include "addin/imaging/drawing/ConvolutionFilters.h"

#include <math.h>

void FixedFilterList::Append(int firstSource, const int16_t* values, int count)
{
    m_filters.push_back({int32_t(m_values.size()), firstSource, count});
    m_values.insert(m_values.end(), values, values + count);
    if (count > m_maxCount)
        m_maxCount = count;
}

const int16_t* FixedFilterList::Get(int k, int* firstSource, int* count) const
{
    const Filter& filter = m_filters[size_t(k)];
    *firstSource = filter.first;
    *count = filter.count;
    return filter.count ? m_values.data() + filter.offset : nullptr;
}

float ScaleFilterSet::Kernel(ConvolutionMethod method, float x)
{
    switch (method) {
    case ConvolutionMethod::Box:
        return x >= -0.5f && x < 0.5f ? 1.0f : 0.0f;
    case ConvolutionMethod::Lanczos3: {
        const float epsilon = 1.1920929e-7f;
        if (x <= -3.0f || x >= 3.0f)
            return 0.0f;
        if (x > -epsilon && x < epsilon)
            return 1.0f;
        float t = x * 3.1415927f;
        float third = t / 3.0f;
        return sinf(t) / t * (sinf(third) / third);
    }
    }
    return 0.0f;
}

ScaleFilterSet::ScaleFilterSet(ConvolutionMethod method, int sourceWidth, int sourceHeight, int outputWidth,
                               int outputHeight, int subsetX, int subsetY, int subsetWidth, int subsetHeight)
    : m_method(method)
{
    float scaleX = float(outputWidth) / float(sourceWidth);
    float scaleY = float(outputHeight) / float(sourceHeight);
    float support = method == ConvolutionMethod::Box ? 0.5f : method == ConvolutionMethod::Lanczos3 ? 3.0f : 1.0f;
    BuildAxis(sourceWidth, subsetX, subsetWidth, scaleX, support / scaleX, m_horizontal);
    BuildAxis(sourceHeight, subsetY, subsetHeight, scaleY, support / scaleY, m_vertical);
}

void ScaleFilterSet::BuildAxis(int sourceSize, int subsetStart, int subsetSize, float scale, float sourceSupport,
                               FixedFilterList& out) const
{
    float clampedScale = scale < 1.0f ? scale : 1.0f;
    float inverse = 1.0f / scale;
    std::vector<float> weights;
    std::vector<int16_t> fixed;
    weights.reserve(64);
    fixed.reserve(64);
    for (int i = subsetStart; i < subsetStart + subsetSize; ++i) {
        float centre = float(i) * inverse;
        int first = int(floorf(centre - sourceSupport));
        int last = int(ceilf(centre + sourceSupport));
        if (first < 0)
            first = 0;
        if (last > sourceSize - 1)
            last = sourceSize - 1;
        weights.clear();
        fixed.clear();
        float sum = 0.0f;
        for (int j = first; j <= last; ++j) {
            float value = Kernel(m_method, (float(j) - centre) * clampedScale);
            weights.push_back(value);
            sum += value;
        }
        int fixedSum = 0;
        for (float value : weights) {
            // A zero-sum filter keeps its weights at 0 and takes the whole
            // leftover on its middle tap below, instead of dividing by zero.
            int16_t v = sum != 0.0f ? int16_t(value / sum * float(kFilterOne)) : 0;
            fixed.push_back(v);
            fixedSum += v;
        }
        int count = int(fixed.size());
        if (count > 0)
            fixed[size_t(count / 2)] = int16_t(fixed[size_t(count / 2)] + (kFilterOne - fixedSum));
        out.Append(first, fixed.data(), count);
    }
}
