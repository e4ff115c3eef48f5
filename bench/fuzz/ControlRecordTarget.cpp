// The slide movie control's persisted record, read from an IStream the way
// the control loads it: magic words, the property block with the movie bytes
// (whose SWF header is read in turn) and the extent.
#include <windows.h>
#include <shlwapi.h>

#include "FuzzTarget.h"
#include "base/MKMemOutStream.h"
#include "slidecontrol/ControlStreamRecord.h"
#include "slidecontrol/MKIStreamInStream.h"
#include "tests/fixtures/SwfBoxMovie.h"
#include "tests/fixtures/SwfFile.h"

#include <cstring>

namespace {

std::vector<uint8_t> Record(const MovieProperties& properties, int32_t cx, int32_t cy)
{
    MKMemOutStream out;
    WriteControlRecord(out, properties, ControlExtent{cx, cy});
    return std::vector<uint8_t>(out.GetData(), out.GetData() + out.GetCount());
}

// Every property away from its default, so each has bytes of its own.
std::vector<uint8_t> RecordWithMovie(const std::vector<uint8_t>& movie, int32_t cx, int32_t cy)
{
    MovieProperties properties;
    properties.movie.SetSize(int(movie.size()));
    memcpy(properties.movie.GetData(), movie.data(), movie.size());
    properties.scaleMode = 0;
    properties.quality = 1;
    properties.background = true;
    properties.backgroundColour = 0x102030;
    properties.loop = false;
    properties.startFrame = 1;
    properties.extraFlag = true;
    return Record(properties, cx, cy);
}

void AddSeeds(const std::wstring&, std::vector<FuzzInput>& seeds)
{
    seeds.push_back({Record(MovieProperties(), 100, 200), "record"});
    const std::vector<uint8_t> box = SwfBoxMovie(2, 0x0C00);
    const std::vector<uint8_t> small = SwfMakeFile({.xmin = -40, .xmax = 90, .frameCount = 3}, {0x00, 0x00});
    for (const std::vector<uint8_t>& movie : {box, SwfDeflateFile(box), small, SwfDeflateFile(small)})
        seeds.push_back({RecordWithMovie(movie, 14552, 10583), "record"});
    // The older block: version 1, without the last flag.
    std::vector<uint8_t> older = RecordWithMovie(small, 5000, 4000);
    older[8] = 1;
    older.erase(older.end() - 9);
    seeds.push_back({older, "record"});
}

void Run(const FuzzInput& input)
{
    IStream* stream = SHCreateMemStream(input.bytes.empty() ? nullptr : input.bytes.data(), UINT(input.bytes.size()));
    if (!stream)
        return;
    MKIStreamInStream reader(stream);
    stream->Release();
    MovieProperties properties;
    ControlRecordLoad load;
    ReadControlRecord(reader, properties, load);
}

}  // namespace

const FuzzTarget& ControlRecordTarget()
{
    static const FuzzTarget target = {"control-record", AddSeeds, Run, nullptr};
    return target;
}
