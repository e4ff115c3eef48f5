#include "slidecontrol/ControlStreamRecord.h"

#include "base/MKInStream.h"
#include "base/MKMemInStream.h"
#include "base/MKOutStream.h"
#include "base/MKStreamErrors.h"

namespace {

bool ReadFlag(MKInStream& input)
{
    uint8_t byte = 0;
    input.ReadU8(&byte);
    return byte != 0;
}

int32_t ReadInt(MKInStream& input)
{
    uint32_t value = 0;
    input.ReadU32(&value);
    return int32_t(value);
}

int FirstError(int own, const MKInStream& input)
{
    return own != 0 ? own : input.GetError();
}

}  // namespace

int ReadPropertyBlock(MKInStream& input, MovieProperties& properties, ControlRecordLoad& load)
{
    uint32_t version = 0;
    if (!input.ReadU32(&version))
        return input.GetError();
    if (version != 1 && version != 2)
        return MKStreamErrorNotControlRecord;
    int32_t length = ReadInt(input);
    if (!input.IsOk())
        return input.GetError();
    if (length <= 0) {
        properties.movie.RemoveAll();
        load.hasMovieBytes = false;
    } else {
        // A length beyond what the stream still holds is damage: refuse it
        // before allocating or reading anything for it.
        int size = input.GetSize();
        if (size > 0 && length > size - input.GetPosition())
            return MKStreamErrorEnd;
        if (!properties.movie.SetSize(length)) {
            properties.movie.RemoveAll();
            return MKStreamErrorNoMemory;
        }
        if (input.Read(properties.movie.GetData(), length) != length) {
            // The stream's own error says why; a short read of a stream that
            // cannot tell its size is the end of the data.
            return FirstError(MKStreamErrorEnd, input);
        }
        MKMemInStream bytes(properties.movie.GetData(), length);
        ReadSwfHeader(bytes, load.header);
        load.hasMovieBytes = true;
    }
    properties.scaleMode = ReadInt(input);
    properties.quality = ReadInt(input);
    properties.background = ReadFlag(input);
    uint32_t colour = 0;
    input.ReadU32(&colour);
    properties.backgroundColour = colour;
    properties.loop = ReadFlag(input);
    properties.autoPlay = ReadFlag(input);
    properties.startFrame = ReadInt(input);
    properties.extraFlag = version == 2 ? ReadFlag(input) : false;
    return input.GetError();
}

int ReadControlRecord(MKInStream& input, MovieProperties& properties, ControlRecordLoad& load)
{
    load = ControlRecordLoad();
    uint32_t first = 0;
    uint32_t second = 0;
    input.ReadU32(&first);
    input.ReadU32(&second);
    if (!input.IsOk())
        return input.GetError();
    // Either magic word alone is enough.
    if (first != kControlRecordMagic1 && second != kControlRecordMagic2)
        return MKStreamErrorNotControlRecord;
    int failure = ReadPropertyBlock(input, properties, load);
    if (failure != 0)
        return failure;
    ControlExtent extent;
    extent.cx = ReadInt(input);
    extent.cy = ReadInt(input);
    if (!input.IsOk())
        return input.GetError();
    load.extent = extent;
    load.extentRead = true;
    return 0;
}

void WritePropertyBlock(MKOutStream& output, const MovieProperties& properties)
{
    int length = properties.movie.GetCount();
    output.WriteU32(2);
    output.WriteU32(uint32_t(length));
    if (length > 0)
        output.Write(properties.movie.GetData(), length);
    output.WriteU32(uint32_t(properties.scaleMode));
    output.WriteU32(uint32_t(properties.quality));
    output.WriteU8(properties.background ? 1 : 0);
    output.WriteU32(properties.backgroundColour);
    output.WriteU8(properties.loop ? 1 : 0);
    output.WriteU8(properties.autoPlay ? 1 : 0);
    output.WriteU32(uint32_t(properties.startFrame));
    output.WriteU8(properties.extraFlag ? 1 : 0);
}

int WriteControlRecord(MKOutStream& output, const MovieProperties& properties, const ControlExtent& extent)
{
    output.WriteU32(kControlRecordMagic1);
    output.WriteU32(kControlRecordMagic2);
    WritePropertyBlock(output, properties);
    output.WriteU32(uint32_t(extent.cx));
    output.WriteU32(uint32_t(extent.cy));
    return output.GetError();
}
