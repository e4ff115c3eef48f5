#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "GLHarness.h"
#include "fixtures/Fixtures.h"
#include "player/engine/PVBitmap.h"
#include "player/engine/PVCharDictionary.h"
#include "player/engine/PVDListObject.h"
#include "player/engine/PVDisplayList.h"
#include "player/engine/PVImage.h"
#include "player/engine/PVMovieClip.h"
#include "player/engine/PVShape.h"
#include "player/engine/PVShapeStyles.h"

namespace {

std::vector<uint8_t> ReadFixture(const wchar_t* name)
{
    const std::wstring path = FixturePath(name);
    FILE* file = _wfopen(path.c_str(), L"rb");
    std::vector<uint8_t> bytes;
    if (!file)
        return bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(file);
    return bytes;
}

// The bitmap the shape on the main display list fills with, as the engine
// decoded it (before the drawer takes its image).
const PVBitmap* ShownBitmap(GLHarness& gl)
{
    PVDisplayList& list = gl.player.MainClip()->DisplayList();
    for (int depth = 0; depth < list.Count(); ++depth) {
        const PVDListObject* entry = list.At(depth);
        if (!entry || !entry->character || entry->character->Type() != PVChar::kShape)
            continue;
        const auto* shape = static_cast<const PVShape*>(entry->character);
        if (shape->FillArrayCount() == 0 || shape->FillArray(0)->entries.Count() == 0)
            continue;
        // The bitmap the place record bound when its frame was read.
        const uint16_t id = shape->FillArray(0)->entries[0].bitmapId;
        for (int i = 0; entry->bitmaps && i < entry->bitmaps->Count(); ++i) {
            const PVChar* c = (*entry->bitmaps)[i];
            if (c->Id() == id && c->Type() == PVChar::kBitmap)
                return static_cast<const PVBitmap*>(c);
        }
    }
    return nullptr;
}

// Probe points over the picture (pixels of the 320 x 240 frame) compared
// with the decoded image, sampled where the image's pixel centre falls.
struct FrameMatch {
    int probes = 0;
    int matching = 0;
};

FrameMatch Compare(const GLHarness& gl, const PVImage& image, int sourceWidth, int sourceHeight)
{
    FrameMatch match;
    const int bytes = PVImage::BytesPerPixel(image.Kind());
    for (int y = 8; y < 240; y += 16) {
        for (int x = 8; x < 320; x += 16) {
            const int ix = x * image.Width() / sourceWidth, iy = y * image.Height() / sourceHeight;
            const uint8_t* p = image.Row(iy) + ix * bytes;
            const Pixel got = gl.At(x, y);
            ++match.probes;
            match.matching += std::abs(got.r - p[0]) <= 24 && std::abs(got.g - p[1]) <= 24 && std::abs(got.b - p[2]) <= 24;
        }
    }
    return match;
}

// The movie defines each frame's JPEG under the same id and frees it after
// the frame. Each frame shows its own picture: frames 1 and 12 are
// compared with the JPEG their place record bound, as the engine decoded
// it, and the two are different characters.
TEST(FfmpegMovie, FramesShowTheDecodedJpeg)
{
    const std::vector<uint8_t> file = ReadFixture(L"ffmpeg_mjpeg_mp3.swf");
    ASSERT_FALSE(file.empty());
    GLHarness gl(320, 240);
    ASSERT_TRUE(gl.LoadFile(file));
    const PVBitmap* first = nullptr;
    for (int frame = 1; frame <= 12; ++frame) {
        if (frame > 1)
            gl.Step();
        if (frame != 1 && frame != 12)
            continue;
        const PVBitmap* bitmap = ShownBitmap(gl);
        ASSERT_NE(bitmap, nullptr) << frame;
        ASSERT_NE(bitmap->Image(), nullptr) << frame;
        if (frame == 1)
            first = bitmap;
        else
            EXPECT_NE(bitmap, first);
        // The drawer takes the image from the character when it makes the
        // texture.
        std::unique_ptr<PVImage> decoded(bitmap->Image()->Clone());
        const int width = bitmap->Width(), height = bitmap->Height();
        ASSERT_TRUE(gl.Draw());
        const FrameMatch match = Compare(gl, *decoded, width, height);
        // Probes on the test card's sharp edges may fall either side.
        EXPECT_GE(match.matching, match.probes * 9 / 10) << "frame " << frame << ": " << match.matching << " of "
                                                          << match.probes;
    }
}

}  // namespace
