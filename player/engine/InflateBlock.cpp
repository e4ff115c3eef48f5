#include "player/engine/InflateBlock.h"

#include <zlib.h>

#include <cstring>

bool InflateBlock(const uint8_t* source, uint32_t sourceLength, uint8_t* destination, uint32_t destinationLength)
{
    z_stream stream{};
    stream.next_in = const_cast<Bytef*>(source);
    stream.avail_in = sourceLength;
    stream.next_out = destination;
    stream.avail_out = destinationLength;
    if (inflateInit(&stream) != Z_OK)
        return false;
    int status;
    do {
        status = inflate(&stream, Z_FINISH);
    } while (status == Z_OK);
    const uint32_t written = destinationLength - stream.avail_out;
    const bool ended = inflateEnd(&stream) == Z_OK && status == Z_STREAM_END;
    std::memset(destination + written, 0, destinationLength - written);
    return ended;
}
