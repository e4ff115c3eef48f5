#pragma once
#include "base/MKInStream.h"
#include "base/MKTArray.h"

// Input stream over a block of bytes. A borrowed block must outlive the stream;
// an owned one (Attach with own) was allocated with MKAlloc and is freed by
// Close and the destructor. Reading past the end stores MKStreamErrorEnd; a
// stream made over no bytes starts with that error.
class MKMemInStream : public MKInStream {
public:
    MKMemInStream() = default;
    MKMemInStream(const void* data, int size);
    // Over the array's bytes (borrowed); the array must outlive the stream.
    explicit MKMemInStream(const MKByteArray& bytes);
    ~MKMemInStream() override;

    // Close, then reads the new block from its start with no error stored.
    void Attach(const void* data, int size, bool own);

    // Forgets (and frees an owned) block; the stored error stays.
    bool Close() override;
    int Read(void* buffer, int n) override;
    // Typed reads leave the position alone when the value does not fit.
    bool ReadU8(uint8_t* out) override;
    bool ReadU16(uint16_t* out) override;
    bool ReadU32(uint32_t* out) override;
    bool ReadU64(uint64_t* out) override;
    // Moves forward by n, stopping at the end; answers the distance moved.
    int Skip(int n) override;
    int Tell() override { return m_position; }
    // False for a position outside 0..size; the stored error stays.
    bool Seek(int position) override;
    bool CanSeek() override { return true; }
    int GetPosition() override { return m_position; }
    int GetSize() override { return m_size; }
    // Null when n <= 0 or nothing is left; stores no error at the end.
    char* ReadLine(char* buffer, int n) override;

    // The block's bytes from the current position on (GetRemaining of them).
    const uint8_t* GetCurrent() const { return m_data + m_position; }
    int GetRemaining() const { return m_size - m_position; }

private:
    // Copies width bytes when they are all left; else stores the end error.
    bool TakeFixed(void* out, int width);

    const uint8_t* m_data = nullptr;
    int m_size = 0;
    uint8_t* m_owned = nullptr;
    int m_position = 0;
};
