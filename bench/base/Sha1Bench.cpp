// Times SHA-1 over a buffer (package checks hash whole downloads) next to a
// plain memcpy and zlib's crc32 of the same bytes, best of several runs.
#include "base/MKSha1.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
        const double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    const size_t size = 16 << 20;
    std::vector<uint8_t> data(size);
    for (size_t i = 0; i < size; ++i)
        data[i] = static_cast<uint8_t>(i * 2654435761u >> 24);
    std::vector<uint8_t> copy(size);
    const double megabytes = static_cast<double>(size) / (1 << 20);

    MKSha1Digest digest;
    uLong crc = 0;
    const double sha1 = BestTime(runs, [&] { MKSha1::Compute(data.data(), static_cast<int>(size), &digest); });
    const double memcopy = BestTime(runs, [&] { std::memcpy(copy.data(), data.data(), size); });
    const double crc32Time = BestTime(runs, [&] { crc = crc32(0, data.data(), static_cast<uInt>(size)); });

    char hex[41];
    MKSha1::ToHexChars(digest, hex);
    hex[40] = 0;
    std::printf("%.0f MB buffer, best of %d runs\n", megabytes, runs);
    std::printf("SHA-1:        %8.1f MB/s  (%s)\n", megabytes / sha1, hex);
    std::printf("memcpy:       %8.1f MB/s  (%u)\n", megabytes / memcopy, copy[size / 2]);
    std::printf("zlib crc32:   %8.1f MB/s  (%08lx)\n", megabytes / crc32Time, crc);
    return 0;
}
