#pragma once
#include "base/MKOutStream.h"

class MKDateTime;
class MKGuid;
class MKString;
class MKVersion;

// Writes the binary record encoding to a borrowed target stream, which must
// outlive the writer until Close: little-endian integers, GUIDs as their 16
// bytes in memory order, versions as a count byte (2 to 4) and that many int32
// parts, strings as an int32 UTF-8 byte length (-1 for no text) and the bytes,
// date-times in their 64-bit binary form. A write the target refuses is stored
// as the target's error (and latches there); the writer's own error stays 0.
// After Close every write answers false.
class MKBinaryWriter : public MKOutStream {
public:
    explicit MKBinaryWriter(MKOutStream* target) : m_target(target) {}

    // The target's; false without one.
    bool Reset() override;
    bool Flush() override;
    // Flushes the target and detaches from it (the target is not closed); false,
    // staying attached, when the flush fails. True without a target.
    bool Close() override;
    bool Write(const void* data, int n) override;
    bool WriteU8(uint8_t value) override;
    // The target's count; 0 without one.
    int GetCount() override;

    MKOutStream* GetTarget() const { return m_target; }

    bool WriteInt32(int32_t value);
    bool WriteGuid(const MKGuid& guid);
    bool WriteVersion(const MKVersion& version);
    bool WriteDateTime(const MKDateTime& value);
    bool WriteString(const MKString& text);
    // A null text or a negative length writes the length -1 and no bytes.
    bool WriteText(const wchar_t* text, int length);

private:
    MKOutStream* m_target;
};
