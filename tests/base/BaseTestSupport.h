#pragma once
#include "base/MKBinaryReader.h"
#include "base/MKMemInStream.h"
#include "base/MKOutStream.h"
#include "base/MKRefHolder.h"
#include "base/MKString.h"

#include <stdint.h>

#include <string>
#include <vector>

// Helpers that several of the base library's test files share.

typedef std::vector<uint8_t> Bytes;

// The whole string, embedded zeros included.
std::wstring Text(const MKString& s);

// The bytes of a memory output stream or a byte array.
template <typename Block>
Bytes BytesOf(Block& block)
{
    return Bytes(block.GetData(), block.GetData() + block.GetCount());
}

// A binary reader over a private copy of the bytes, with its memory stream
// kept alive beside it.
class ReaderOver {
public:
    explicit ReaderOver(Bytes bytes);
    MKBinaryReader& operator*() { return *m_reader.Get(); }
    MKBinaryReader* operator->() { return m_reader.Get(); }

private:
    Bytes m_bytes;
    MKRefHolder<MKMemInStream> m_source;
    MKRefHolder<MKBinaryReader> m_reader;
};

// Accepts `room` bytes, then refuses every write from the first one that does
// not fit on, storing -77.
class RefusingStream : public MKOutStream {
public:
    explicit RefusingStream(int room) : m_room(room) {}
    bool Reset() override { return true; }
    bool Flush() override { return true; }
    bool Close() override { return true; }
    bool Write(const void* data, int n) override;
    int GetCount() override { return 0; }

private:
    int m_room;
};
