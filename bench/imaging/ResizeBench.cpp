// Times resizes of a 4000 x 3000 RGBA picture to 1000 x 750 with each named
// filter (Lanczos first), best of several runs.
#include "addin/imaging/ResizeImage.h"
#include "bench/imaging/BenchClock.h"

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <windows.h>

namespace {

double BestTime(const RasterImage* image, int filter, int runs)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        double start = BenchSeconds();
        RasterImage* result = ResizeImage(image, 1000, 750, filter, nullptr, nullptr);
        double elapsed = BenchSeconds() - start;
        if (!result) {
            fprintf(stderr, "resize failed\n");
            exit(1);
        }
        result->Release();
        best = elapsed < best ? elapsed : best;
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? atoi(argv[1]) : 5;
    RasterImage* image = CreateRasterImage(PixelType::Rgba, 4000, 3000);
    if (!image)
        return 1;
    // A gradient with texture, so no pass can take shortcuts.
    for (int r = 0; r < 3000; ++r) {
        uint8_t* p = image->GetRow(r);
        for (int x = 0; x < 4000; ++x, p += 4) {
            p[0] = uint8_t(x * 255 / 3999);
            p[1] = uint8_t(r * 255 / 2999);
            p[2] = uint8_t((x ^ r) & 0xFF);
            p[3] = uint8_t(128 + ((x * 7 + r * 13) & 0x7F));
        }
    }
    printf("4000x3000 RGBA -> 1000x750, best of %d runs\n", runs);
    int order[kImageFilterCount];
    order[0] = FilterLanczos;
    for (int i = 0, k = 1; i < kImageFilterCount; ++i) {
        if (i != FilterLanczos)
            order[k++] = i;
    }
    for (int filter : order)
        printf("%-10ls %8.1f ms\n", GetImageFilter(filter).name, BestTime(image, filter, runs) * 1000.0);
    image->Release();
    return 0;
}
