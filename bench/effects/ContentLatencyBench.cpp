// The time from a slide change in the stand-in slide show to the first paint
// of the slide's hosted content: slides with and without a product shape
// alternate; after each move onto a slide with content the screen pixel at
// the shape's centre is watched (between message pumps) until it shows the
// content's colour. Reports the distribution over the moves next to the
// session's 50 ms frame tick.
//
//   WINEDLLOVERRIDES=mscoree=n bash tools/wine-run.sh build/bench/effects_bench.exe [moves]
#include "ContentShowRig.h"

#include "standins/powerpoint/SlideShowViewObject.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

namespace {

const double kTickMs = 50.0;
const double kGiveUpMs = 2000.0;

double NowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void PumpOnce()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PumpFor(double milliseconds)
{
    double end = NowMs() + milliseconds;
    while (NowMs() < end) {
        PumpOnce();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

// The screen point of a slide point of a 720 x 540 slide in the pane.
POINT ScreenPoint(HWND pane, float x, float y)
{
    RECT client;
    GetClientRect(pane, &client);
    float scale = std::min(client.right / 720.0f, client.bottom / 540.0f);
    POINT point = {static_cast<int>((client.right - 720.0f * scale) / 2) + static_cast<int>(x * scale),
                   static_cast<int>((client.bottom - 540.0f * scale) / 2) + static_cast<int>(y * scale)};
    ClientToScreen(pane, &point);
    return point;
}

bool ShowsContent(HDC screen, POINT point)
{
    const DWORD colour = ContentShowRig::kContentColour;
    return GetPixel(screen, point.x, point.y) == RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

double Percentile(const std::vector<double>& sorted, double share)
{
    size_t index = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
    return sorted[std::min(index, sorted.size() - 1)];
}

}  // namespace

int main(int argc, char** argv)
{
    int moves = argc > 1 ? atoi(argv[1]) : 40;
    if (moves < 1)
        moves = 1;
    ContentShowRig rig;
    if (!rig.Start()) {
        fprintf(stderr, "the stand-in runtime or its plug-ins did not start\n");
        return 1;
    }
    std::vector<int> withContent;
    for (int i = 1; i <= moves; ++i)
        withContent.push_back(2 * i);
    standin::SlideShowWindowObject* show = rig.RunShow(2 * moves + 1, withContent);
    if (!show) {
        fprintf(stderr, "the show did not run\n");
        return 1;
    }
    HWND pane = show->Pane();
    const POINT centre = ScreenPoint(pane, ContentShowRig::kShapeLeft + ContentShowRig::kShapeWidth / 2,
                                     ContentShowRig::kShapeTop + ContentShowRig::kShapeHeight / 2);
    HDC screen = GetDC(nullptr);
    PumpFor(300);

    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < moves; ++i) {
        const double start = NowMs();
        rig.Next(show);
        double latency = -1;
        while (NowMs() - start < kGiveUpMs) {
            if (ShowsContent(screen, centre)) {
                latency = NowMs() - start;
                break;
            }
            PumpOnce();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        if (latency < 0)
            ++missed;
        else
            latencies.push_back(latency);
        PumpFor(150);
        // On to the next slide without content.
        rig.Next(show);
        PumpFor(100);
    }
    ReleaseDC(nullptr, screen);
    show->View()->End();
    PumpFor(100);

    if (latencies.empty()) {
        printf("content never appeared in %d moves\n", moves);
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    double sum = 0;
    int withinTick = 0;
    for (double value : latencies) {
        sum += value;
        withinTick += value <= kTickMs ? 1 : 0;
    }
    printf("slide change to first paint of hosted content, %zu moves (%d missed):\n", latencies.size(), missed);
    printf("  mean %.1f ms, median %.1f ms, 90%% %.1f ms, max %.1f ms\n", sum / static_cast<double>(latencies.size()),
           Percentile(latencies, 0.5), Percentile(latencies, 0.9), latencies.back());
    printf("  within one %.0f ms frame tick: %d of %zu\n", kTickMs, withinTick, latencies.size());
    return 0;
}
