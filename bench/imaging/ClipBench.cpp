// Times 300 save / translate / restore rounds on a 1000 x 800 device-backed
// canvas, once without a clip and once with a round clip, one run each. The
// clip is turned into GDI rectangles only when GDI next draws, so the two
// should cost about the same; the last line says whether the clipped rounds
// stay within twice the unclipped ones.
#include "addin/imaging/drawing/BitmapPlatformDevice.h"
#include "addin/imaging/drawing/DrawCanvas.h"
#include "bench/imaging/BenchClock.h"

#include <stdio.h>
#include <windows.h>

namespace {

// The rounds on a fresh canvas, with or without a round clip set first.
double Rounds(bool roundClip)
{
    BitmapPlatformDevice* device = BitmapPlatformDevice::MakeForScreen(1000, 800, false, nullptr);
    if (!device)
        return -1;
    double elapsed;
    {
        DrawCanvas canvas(device->GetBitmap(), device);
        if (roundClip) {
            DrawPath circle;
            circle.AddCircle(500, 400, 350, DrawPath::kClockwise);
            canvas.ClipPath(circle, DrawCanvas::kIntersect);
        }
        double start = BenchSeconds();
        for (int i = 0; i < 300; ++i) {
            canvas.Save(DrawCanvas::kMatrixClipSave);
            canvas.Translate(float(i % 17), float(i % 11));
            canvas.Restore();
        }
        elapsed = BenchSeconds() - start;
        // GDI would draw now: the clip is converted once, outside the rounds.
        device->GetMemoryDC();
    }
    device->Release();
    return elapsed;
}

}  // namespace

int main()
{
    Rounds(false);  // warms the heap and GDI, so neither line pays for it
    double plain = Rounds(false), clipped = Rounds(true);
    if (plain < 0 || clipped < 0) {
        fprintf(stderr, "no device\n");
        return 1;
    }
    printf("300 save/translate/restore on 1000x800, one run\n");
    printf("%-12s %8.2f ms\n", "no clip", plain * 1000.0);
    printf("%-12s %8.2f ms\n", "round clip", clipped * 1000.0);
    // Both take well under a millisecond: half a millisecond of timer noise
    // is allowed.
    printf("round clip within twice no clip: %s\n", clipped <= 2 * plain + 0.0005 ? "yes" : "no");
    return 0;
}
