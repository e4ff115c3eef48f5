#include "base/MKBinaryReader.h"

#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKStreamErrors.h"
#include "base/MKString.h"
#include "base/MKVersion.h"

#include <string.h>

namespace {

const int ReadStep = 1 << 20;

}  // namespace

int MKBinaryReader::GetError() const
{
    return m_source ? m_source->GetError() : MKStreamErrorNoTarget;
}

bool MKBinaryReader::Close()
{
    ClearError();
    return true;
}

int MKBinaryReader::Read(void* buffer, int n)
{
    if (!m_source) {
        if (n > 0)
            memset(buffer, 0, size_t(n));
        return n > 0 ? -1 : 0;
    }
    return m_source->Read(buffer, n);
}

// The source's own typed reads keep their error in the source, where IsOk looks.
bool MKBinaryReader::ReadU8(uint8_t* out)
{
    return m_source ? m_source->ReadU8(out) : (*out = 0, false);
}

bool MKBinaryReader::ReadU16(uint16_t* out)
{
    return m_source ? m_source->ReadU16(out) : (*out = 0, false);
}

bool MKBinaryReader::ReadU32(uint32_t* out)
{
    return m_source ? m_source->ReadU32(out) : (*out = 0, false);
}

bool MKBinaryReader::ReadU64(uint64_t* out)
{
    return m_source ? m_source->ReadU64(out) : (*out = 0, false);
}

int MKBinaryReader::Skip(int n)
{
    return m_source ? m_source->Skip(n) : 0;
}

int MKBinaryReader::Tell()
{
    return m_source ? m_source->Tell() : 0;
}

bool MKBinaryReader::Seek(int position)
{
    return m_source && m_source->Seek(position);
}

bool MKBinaryReader::CanSeek()
{
    return m_source && m_source->CanSeek();
}

int MKBinaryReader::GetPosition()
{
    return m_source ? m_source->GetPosition() : 0;
}

int MKBinaryReader::GetSize()
{
    return m_source ? m_source->GetSize() : 0;
}

char* MKBinaryReader::ReadLine(char* buffer, int n)
{
    return m_source ? m_source->ReadLine(buffer, n) : nullptr;
}

bool MKBinaryReader::ReadBool(bool* out)
{
    uint8_t b = 0;
    bool ok = ReadU8(&b);
    *out = b != 0;
    return ok;
}

bool MKBinaryReader::ReadInt32(int32_t* out)
{
    uint32_t v = 0;
    bool ok = ReadU32(&v);
    *out = int32_t(v);
    return ok;
}

bool MKBinaryReader::ReadInt64(int64_t* out)
{
    uint64_t v = 0;
    bool ok = ReadU64(&v);
    *out = int64_t(v);
    return ok;
}

bool MKBinaryReader::ReadGuid(MKGuid* out)
{
    GUID guid;
    bool ok = ReadExactly(&guid, 16);
    *out = MKGuid(guid);
    return ok;
}

bool MKBinaryReader::ReadVersion(MKVersion* out)
{
    uint8_t count = 0;
    bool ok = ReadU8(&count);
    MKVersion v;
    ok = ReadInt32(&v.major) && ok;
    ok = ReadInt32(&v.minor) && ok;
    if (count >= 3 && count <= 4)
        ok = ReadInt32(&v.build) && ok;
    if (count == 4)
        ok = ReadInt32(&v.revision) && ok;
    if (count < 2 || count > 4) {
        *out = MKVersion();
        return false;
    }
    *out = v;
    return ok;
}

bool MKBinaryReader::ReadBytes(int n, MKByteArray& out)
{
    out.RemoveAll();
    if (n <= 0)
        return n == 0;
    // A source that knows its size gets no step larger than what it still holds;
    // the step past its end then fails and stores the end error there.
    int left = -1;
    if (CanSeek() && GetSize() > 0)
        left = GetSize() - GetPosition();
    int got = 0;
    while (got < n) {
        int step = n - got < ReadStep ? n - got : ReadStep;
        if (left >= 0 && step > left - got)
            step = left - got > 0 ? left - got : 1;
        if (!out.SetSize(got + step)) {
            out.RemoveAll();
            return false;
        }
        if (!ReadExactly(out.GetData() + got, step)) {
            out.RemoveAll();
            return false;
        }
        got += step;
    }
    return true;
}

bool MKBinaryReader::ReadDateTime(MKDateTime* out)
{
    int64_t value = 0;
    bool ok = ReadInt64(&value);
    if (!MKDateTime::FromBinary(value, *out)) {
        *out = MKDateTime();
        return false;
    }
    return ok;
}

bool MKBinaryReader::ReadString(MKString* out)
{
    out->Clear();
    int32_t length = 0;
    if (!ReadInt32(&length))
        return false;
    if (length <= 0)
        return true;
    // Short strings are decoded from the stack.
    char local[256];
    if (length <= int(sizeof(local))) {
        if (!ReadExactly(local, length))
            return false;
        out->AssignUtf8(local, length);
        return true;
    }
    MKByteArray bytes;
    if (!ReadBytes(length, bytes))
        return false;
    out->AssignUtf8(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetCount());
    return true;
}
