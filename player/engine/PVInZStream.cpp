#include "player/engine/PVInZStream.h"

#include <new>

#include <zlib.h>

struct PVInZStream::State {
    z_stream zs{};
    int status = Z_OK;  // last inflate result, or -1 after a source error
    bool sourceDone = false;
    static constexpr int kInputSize = 16384;
    unsigned char input[kInputSize];
};

PVInZStream::PVInZStream(PVInStream* source) : source_(source)
{
    state_ = new (std::nothrow) State;
    if (state_ && inflateInit(&state_->zs) != Z_OK) {
        delete state_;
        state_ = nullptr;
    }
    if (!state_)
        source_ = nullptr;
}

PVInZStream::~PVInZStream()
{
    if (state_) {
        inflateEnd(&state_->zs);
        delete state_;
    }
}

int PVInZStream::Read(void* buffer, int size)
{
    if (!state_ || !source_ || size < 0)
        return -1;
    State& s = *state_;
    if (s.status == Z_STREAM_END)
        return 0;
    // Only "no progress" may be retried; every other zlib error is final.
    if (s.status != Z_OK && s.status != Z_BUF_ERROR)
        return -1;

    s.zs.next_out = static_cast<Bytef*>(buffer);
    s.zs.avail_out = static_cast<uInt>(size);
    while (s.zs.avail_out > 0) {
        if (s.zs.avail_in == 0 && !s.sourceDone) {
            int got = source_->Read(s.input, State::kInputSize);
            if (got <= 0) {
                s.sourceDone = true;
                if (got < 0) {
                    s.status = -1;
                    break;
                }
            } else {
                s.zs.next_in = s.input;
                s.zs.avail_in = static_cast<uInt>(got);
            }
        }
        s.status = inflate(&s.zs, Z_NO_FLUSH);
        if (s.status != Z_OK || s.sourceDone)
            break;
    }
    const int produced = size - static_cast<int>(s.zs.avail_out);
    if (produced == 0 && s.status != Z_OK && s.status != Z_BUF_ERROR && s.status != Z_STREAM_END)
        return -1;
    return produced;
}

int PVInZStream::Close()
{
    source_ = nullptr;
    return 0;
}
