#include "base/MKLzmaSupport.h"

#include "base/MKAlloc.h"

namespace {

void* LzmaAlloc(void*, size_t items, size_t size)
{
    if (size != 0 && items > SIZE_MAX / size)
        return nullptr;
    return MKAlloc(items * size);
}

void LzmaFree(void*, void* block)
{
    MKFree(block);
}

const lzma_allocator s_allocator = {LzmaAlloc, LzmaFree, nullptr};

}  // namespace

lzma_ret MKLzmaDecoderInit(lzma_stream* stream, const uint8_t* properties, uint32_t dictionaryLimit)
{
    unsigned d = properties[0];
    if (d >= 9 * 5 * 5)
        return LZMA_OPTIONS_ERROR;
    lzma_options_lzma options = {};
    options.lc = d % 9;
    d /= 9;
    options.lp = d % 5;
    options.pb = d / 5;
    // liblzma takes lc + lp up to 4, which covers what LZMA encoders write.
    if (options.lc + options.lp > LZMA_LCLP_MAX)
        return LZMA_OPTIONS_ERROR;
    uint32_t dictionary = uint32_t(properties[1]) | (uint32_t(properties[2]) << 8) |
                          (uint32_t(properties[3]) << 16) | (uint32_t(properties[4]) << 24);
    if (dictionary > dictionaryLimit)
        dictionary = dictionaryLimit;
    options.dict_size = dictionary < LZMA_DICT_SIZE_MIN ? LZMA_DICT_SIZE_MIN : dictionary;

    lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    stream->allocator = &s_allocator;
    return lzma_raw_decoder(stream, filters);
}
