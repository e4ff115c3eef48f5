#pragma once
#include "player/engine/PVInStream.h"

// Input stream over a file handle. A handle given to the constructor is
// borrowed (never closed here); one opened by Open is owned and closed by
// Close or the destructor. Read answers 0 at the end and on failure. Kept
// apart from MKInFileStream, which reads a run-time FILE and answers -1 there.
class PVInFileStream : public PVInStream {
public:
    explicit PVInFileStream(void* handle = nullptr) : handle_(handle) {}
    ~PVInFileStream() override;

    // Closes what the stream had, then opens the path (8-bit); false for an
    // empty path or when the file cannot be opened.
    bool Open(const char* path);
    int Read(void* buffer, int size) override;
    // 0 without a handle or for a borrowed one; else the close result.
    int Close() override;

private:
    void* handle_;
    bool owns_ = false;
};
