// Times the zlib streams (staging and buffer copies around zlib, written and
// read in uneven pieces) next to one whole-buffer call on the same 8 MB of
// text-like bytes, best of several runs.
#include "base/MKCompressBuffers.h"
#include "base/MKInZStream.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutZStream.h"
#include "base/MKRefHolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double BestTime(int runs, Work work)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

std::vector<uint8_t> TextLike(size_t size)
{
    static const char* const words[] = {"slide ", "movie ", "effect ", "show ", "layer ", "frame ", "node ",
                                        "the ",   "of ",    "and ",    "a ",    "\n",     "content ", "plug-in "};
    std::vector<uint8_t> data;
    data.reserve(size);
    uint32_t state = 12345;
    while (data.size() < size) {
        state = state * 1103515245 + 12345;
        for (const char* w = words[(state >> 16) % (sizeof words / sizeof *words)]; *w && data.size() < size; ++w)
            data.push_back(static_cast<uint8_t>(*w));
    }
    return data;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::vector<uint8_t> data = TextLike(8u << 20);
    const int size = static_cast<int>(data.size());
    const double megabytes = data.size() / double(1 << 20);
    const int pieces[] = {1000, 5000, 100};

    MKByteArray packed;
    const double bufferDeflate = BestTime(runs, [&] { MKCompressToArray(data.data(), size, packed, 6, false); });
    MKMemOutStream streamed;
    const double streamDeflate = BestTime(runs, [&] {
        streamed.Reset();
        MKOutZStream z(&streamed, 6);
        for (int at = 0, i = 0; at < size; ++i) {
            const int n = std::min(size - at, pieces[i % 3]);
            z.Write(data.data() + at, n);
            at += n;
        }
        z.Close();
    });

    std::vector<uint8_t> plain(data.size());
    int produced = 0;
    const double bufferInflate = BestTime(runs, [&] {
        MKUncompressBuffer(packed.GetData(), packed.GetCount(), plain.data(), size, &produced, false);
    });
    int got = 0;
    const double streamInflate = BestTime(runs, [&] {
        MKRefHolder<MKMemInStream> source;
        source.Attach(new MKMemInStream(packed.GetData(), packed.GetCount()));
        MKRefHolder<MKInZStream> in;
        in.Attach(new MKInZStream(source.Get()));
        got = 0;
        for (int r; (r = in->Read(plain.data() + got, std::min(65536, size - got))) > 0;)
            got += r;
    });
    if (produced != size || got != size || plain != data) {
        std::printf("round trip failed\n");
        return 1;
    }
    std::printf("%.0f MB of text-like bytes, best of %d runs\n", megabytes, runs);
    std::printf("deflate, one call:  %8.1f MB/s\n", megabytes / bufferDeflate);
    std::printf("deflate, stream:    %8.1f MB/s\n", megabytes / streamDeflate);
    std::printf("inflate, one call:  %8.1f MB/s\n", megabytes / bufferInflate);
    std::printf("inflate, stream:    %8.1f MB/s\n", megabytes / streamInflate);
    return 0;
}
