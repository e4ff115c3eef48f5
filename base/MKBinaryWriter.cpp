#include "base/MKBinaryWriter.h"

#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKStreamErrors.h"
#include "base/MKString.h"
#include "base/MKTArray.h"
#include "base/MKTextConvert.h"
#include "base/MKVersion.h"

bool MKBinaryWriter::Reset()
{
    return m_target && m_target->Reset();
}

bool MKBinaryWriter::Flush()
{
    return m_target && m_target->Flush();
}

bool MKBinaryWriter::Close()
{
    if (!m_target)
        return true;
    if (!m_target->Flush())
        return false;
    m_target = nullptr;
    return true;
}

bool MKBinaryWriter::Write(const void* data, int n)
{
    return m_target && m_target->Write(data, n);
}

bool MKBinaryWriter::WriteU8(uint8_t value)
{
    return m_target && m_target->WriteU8(value);
}

int MKBinaryWriter::GetCount()
{
    return m_target ? m_target->GetCount() : 0;
}

bool MKBinaryWriter::WriteInt32(int32_t value)
{
    return m_target && m_target->WriteU32(uint32_t(value));
}

bool MKBinaryWriter::WriteGuid(const MKGuid& guid)
{
    return Write(guid.Bytes(), 16);
}

bool MKBinaryWriter::WriteVersion(const MKVersion& version)
{
    int count = version.revision >= 0 ? 4 : version.build >= 0 ? 3 : 2;
    return WriteU8(uint8_t(count)) && WriteInt32(version.major) && WriteInt32(version.minor) &&
           (count < 3 || WriteInt32(version.build)) && (count < 4 || WriteInt32(version.revision));
}

bool MKBinaryWriter::WriteDateTime(const MKDateTime& value)
{
    return m_target && m_target->WriteU64(uint64_t(value.ToBinary()));
}

bool MKBinaryWriter::WriteString(const MKString& text)
{
    return WriteText(text.GetText(), text.GetLength());
}

bool MKBinaryWriter::WriteText(const wchar_t* text, int length)
{
    if (!m_target)
        return false;
    if (!text || length < 0)
        return WriteInt32(-1);
    if (length == 0)
        return WriteInt32(0);
    // Short texts are converted on the stack.
    char local[256];
    if (length <= int(sizeof(local)) / 3) {
        int n = MKWideToUtf8(text, length, local, int(sizeof(local)));
        return WriteInt32(n) && Write(local, n);
    }
    MKByteArray bytes;
    int n = MKWideToUtf8Array(text, length, bytes);
    if (n == 0) {
        // Writing a shorter text would lose data silently.
        m_target->SetError(MKStreamErrorNoMemory);
        return false;
    }
    return WriteInt32(n) && Write(bytes.GetData(), n);
}
