#pragma once
#include "base/MKOutStream.h"
#include "base/MKTArray.h"

// Output stream into a growable block from MKAlloc. When growing fails the
// stream stores MKStreamErrorNoMemory and keeps what was written.
class MKMemOutStream : public MKOutStream {
public:
    MKMemOutStream() = default;
    ~MKMemOutStream() override;

    // Frees the block: length and capacity 0 (a stored error stays).
    bool Reset() override;
    bool Flush() override { return true; }
    bool Close() override { return true; }
    bool Write(const void* data, int n) override;
    bool WriteU8(uint8_t value) override { return Write(&value, 1); }
    bool WriteU16(uint16_t value) override { return Write(&value, 2); }
    bool WriteU32(uint32_t value) override { return Write(&value, 4); }
    bool WriteU64(uint64_t value) override { return Write(&value, 8); }
    int GetCount() override { return m_length; }

    const uint8_t* GetData() const { return m_buffer; }
    int GetCapacity() const { return m_capacity; }

    // Replaces the array's items by the written bytes (count and capacity the
    // length; empty when nothing was written) and empties the stream as Reset
    // does. False, with the array emptied and the stream as it was, when memory
    // runs out.
    bool TakeBuffer(MKByteArray& out);

private:
    uint8_t* m_buffer = nullptr;
    int m_length = 0;
    int m_capacity = 0;
};
