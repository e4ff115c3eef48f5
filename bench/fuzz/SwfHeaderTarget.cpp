// The SWF header reader the slide movie control runs over the movie bytes it
// holds: signature, length, and the frame rectangle, rate and count of the
// plain or inflated body.
#include "FuzzTarget.h"
#include "base/MKMemInStream.h"
#include "slidecontrol/SwfHeaderReader.h"
#include "tests/fixtures/SwfBoxMovie.h"
#include "tests/fixtures/SwfFile.h"

namespace {

void AddSeeds(const std::wstring& fixtures, std::vector<FuzzInput>& seeds)
{
    AddSeedFiles(fixtures, L".swf", "swf", seeds);
    // Frame rectangles of few and many bits, negative corners among them.
    const SwfHeader headers[] = {
        {},
        {.version = 10, .xmin = -200, .xmax = 30, .ymin = -5, .ymax = 1, .rate = 0x1E00, .frameCount = 65535},
        {.version = 3, .xmin = 0, .xmax = 0x3FFFFFFF, .ymin = -0x40000000, .ymax = 0x3FFFFFFF, .rate = 0x0001},
    };
    for (const SwfHeader& header : headers) {
        const std::vector<uint8_t> file = SwfMakeFile(header, {0x40, 0x00, 0x00, 0x00});
        seeds.push_back({file, "swf"});
        seeds.push_back({SwfDeflateFile(file), "swf"});
    }
    const std::vector<uint8_t> box = SwfBoxMovie(2, 0x0C00);
    seeds.push_back({box, "swf"});
    seeds.push_back({SwfDeflateFile(box), "swf"});
}

void Run(const FuzzInput& input)
{
    MKMemInStream bytes(input.bytes.data(), int(input.bytes.size()));
    SwfHeaderInfo header;
    ReadSwfHeader(bytes, header);
}

}  // namespace

const FuzzTarget& SwfHeaderTarget()
{
    static const FuzzTarget target = {"swf-header", AddSeeds, Run, nullptr};
    return target;
}
