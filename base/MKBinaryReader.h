#pragma once
#include "base/MKInStream.h"
#include "base/MKTArray.h"

class MKDateTime;
class MKGuid;
class MKString;
class MKVersion;

// Reads the binary record encoding of MKBinaryWriter from a borrowed source
// stream, which must outlive the reader. Errors live in the source: a read past
// the end stores MKStreamErrorEnd there and yields a neutral value (0, a zero
// GUID, the version 0.0 with -1 parts, the empty string), so a caller reads a
// whole record and tests IsOk once. Each typed read answers whether its field
// was read whole and well-formed.
class MKBinaryReader : public MKInStream {
public:
    explicit MKBinaryReader(MKInStream* source) : m_source(source) {}

    // The source's state (MKStreamErrorNoTarget without a source).
    bool IsOk() const override { return GetError() == 0; }
    int GetError() const override;
    // Clears the reader's own error; the source is untouched.
    bool Close() override;
    int Read(void* buffer, int n) override;
    bool ReadU8(uint8_t* out) override;
    bool ReadU16(uint16_t* out) override;
    bool ReadU32(uint32_t* out) override;
    bool ReadU64(uint64_t* out) override;
    int Skip(int n) override;
    int Tell() override;
    bool Seek(int position) override;
    bool CanSeek() override;
    int GetPosition() override;
    int GetSize() override;
    char* ReadLine(char* buffer, int n) override;

    MKInStream* GetSource() const { return m_source; }

    // One byte; *out is true for any byte but 0.
    bool ReadBool(bool* out);
    bool ReadUInt16(uint16_t* out) { return ReadU16(out); }
    bool ReadInt32(int32_t* out);
    bool ReadInt64(int64_t* out);
    bool ReadGuid(MKGuid* out);
    // A count byte other than 2, 3 or 4 gives 0.0.-1.-1 and false, after the
    // count and two parts were consumed.
    bool ReadVersion(MKVersion* out);
    // Empties out, then reads n bytes into it in steps of at most 1 MB, so a
    // lying length costs no more memory than the data delivered plus one step
    // (none beyond the data when the source knows its size). False, with out
    // emptied, when fewer arrive; n < 0 is false, n == 0 true.
    bool ReadBytes(int n, MKByteArray& out);
    // Values the binary form cannot hold give the zero date-time and false.
    bool ReadDateTime(MKDateTime* out);
    // A length of 0 or less (the writer's -1 for no text) gives the empty
    // string; false when the length or the bytes cannot be read.
    bool ReadString(MKString* out);

private:
    MKInStream* m_source;
};
