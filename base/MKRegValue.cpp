#include "base/MKRegValue.h"

#include "base/MKAlloc.h"
#include "base/MKTOArray.h"

#include <string.h>
#include <windows.h>

MKRegValue::MKRegValue(Blob* blob) : m_blob(blob)
{
    if (m_blob)
        ++m_blob->refs;
}

MKRegValue::MKRegValue(const MKRegValue& other) : MKRegValue(other.m_blob) {}

MKRegValue& MKRegValue::operator=(const MKRegValue& other)
{
    if (other.m_blob != m_blob) {
        Blob* old = m_blob;
        m_blob = other.m_blob;
        if (m_blob)
            ++m_blob->refs;
        if (old && --old->refs <= 0)
            MKFree(old);
    }
    return *this;
}

void MKRegValue::Release()
{
    Blob* blob = m_blob;
    m_blob = nullptr;
    if (blob && --blob->refs <= 0)
        MKFree(blob);
}

MKRegValue MKRegValue::Alloc(uint32_t type, int size)
{
    if (size < 0 || size_t(size) > SIZE_MAX - sizeof(Blob))
        return MKRegValue();
    Blob* blob = static_cast<Blob*>(MKAlloc(sizeof(Blob) + size_t(size)));
    if (!blob)
        return MKRegValue();
    blob->type = int32_t(type);
    blob->size = size;
    blob->refs = 0;
    memset(blob + 1, 0, size_t(size));
    return MKRegValue(blob);
}

MKRegValue MKRegValue::FromDword(uint32_t value)
{
    MKRegValue result = Alloc(REG_DWORD, 4);
    if (!result.IsNull())
        memcpy(result.GetData(), &value, 4);
    return result;
}

MKRegValue MKRegValue::FromString(const MKString& text)
{
    int bytes = (text.GetLength() + 1) * int(sizeof(wchar_t));
    MKRegValue result = Alloc(REG_SZ, bytes);
    if (!result.IsNull())
        memcpy(result.GetData(), text.GetText(), size_t(bytes));
    return result;
}

uint32_t MKRegValue::GetType() const
{
    return m_blob ? uint32_t(m_blob->type) : REG_NONE;
}

int MKRegValue::GetSize() const
{
    return m_blob ? m_blob->size : 0;
}

uint8_t* MKRegValue::GetData() const
{
    return m_blob ? reinterpret_cast<uint8_t*>(m_blob + 1) : nullptr;
}

void MKRegValue::SetSize(int size)
{
    if (m_blob && size >= 0 && size <= m_blob->size)
        m_blob->size = size;
}

bool MKRegValue::IsString() const
{
    return GetType() == REG_SZ;
}

MKString MKRegValue::GetString() const
{
    const wchar_t* text = reinterpret_cast<const wchar_t*>(GetData());
    int chars = GetSize() / int(sizeof(wchar_t));
    int length = 0;
    while (length < chars && text[length])
        ++length;
    return MKString::MKStringFromChars(text, length);
}

int MKRegValue::GetMultiString(MKTOArray<MKString>& out) const
{
    out.RemoveAll();
    const wchar_t* text = reinterpret_cast<const wchar_t*>(GetData());
    int chars = GetSize() / int(sizeof(wchar_t));
    int position = 0;
    while (position < chars && text[position]) {
        int end = position;
        while (end < chars && text[end])
            ++end;
        out.Add(MKString::MKStringFromChars(text + position, end - position));
        position = end < chars ? end + 1 : end;
    }
    return position;
}
