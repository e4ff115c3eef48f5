#include "addin/hosting/MemoryStream.h"

#include "base/MKCrashGuard.h"

#include <new>
#include <string.h>

namespace {

const uint32_t kPictureMagic = 0x4845A3C8;

void PutU32(uint8_t* out, uint32_t value)
{
    out[0] = uint8_t(value);
    out[1] = uint8_t(value >> 8);
    out[2] = uint8_t(value >> 16);
    out[3] = uint8_t(value >> 24);
}

}  // namespace

MemoryStream* MemoryStream::Create(const PixelBuffer& picture)
{
    if (picture.IsEmpty() || picture.GetBytesPerPixel() != 4)
        return nullptr;
    MemoryStream* stream = new (std::nothrow) MemoryStream();
    if (!stream)
        return nullptr;
    const int width = picture.GetWidth();
    if (!stream->m_picture.Allocate(width, picture.GetHeight(), 4) || !stream->m_row.Allocate(width, 1, 4)) {
        delete stream;
        return nullptr;
    }
    PixelBuffer::CopyPixels(picture, 0, 0, width, picture.GetHeight(), stream->m_picture, 0, 0);
    stream->m_uniform = stream->m_picture.IsUniform(&stream->m_colour);
    return stream;
}

uint32_t MemoryStream::GetSize() const
{
    if (m_uniform)
        return 12;
    return 16 + uint32_t(m_picture.GetWidth()) * uint32_t(m_picture.GetHeight()) * 4;
}

bool MemoryStream::ConvertNextRow()
{
    if (m_rowIndex >= m_picture.GetHeight())
        return false;
    ++m_rowIndex;
    if (m_rowIndex >= m_picture.GetHeight()) {
        m_row = PixelBuffer();
        return false;
    }
    m_rowOffset = 0;
    // Memory order blue, green, red, alpha becomes alpha, red, green, blue.
    const uint8_t* source = m_picture.PixelAt(0, m_rowIndex);
    uint8_t* target = m_row.GetData();
    for (int x = 0; x < m_picture.GetWidth(); ++x, source += 4, target += 4) {
        target[0] = source[3];
        target[1] = source[2];
        target[2] = source[1];
        target[3] = source[0];
    }
    return true;
}

HRESULT STDMETHODCALLTYPE MemoryStream::Read(void* buffer, ULONG count, ULONG* read)
{
    static MKExceptionInfo s_info;
    return MKCrashGuard(s_info, static_cast<HRESULT>(E_UNEXPECTED), [&]() -> HRESULT {
        if (read)
            *read = 0;
        if (!buffer)
            return E_FAIL;
        uint8_t* out = static_cast<uint8_t*>(buffer);
        ULONG copied = 0;
        if (!m_headerSent) {
            if (count < ULONG(HeaderSize()))
                return E_FAIL;
            PutU32(out, kPictureMagic);
            if (m_uniform) {
                PutU32(out + 4, 1);
                PutU32(out + 8, m_colour);
            } else {
                PutU32(out + 4, 0);
                PutU32(out + 8, uint32_t(m_picture.GetWidth()));
                PutU32(out + 12, uint32_t(m_picture.GetHeight()));
            }
            copied = ULONG(HeaderSize());
            m_headerSent = true;
        }
        const int rowBytes = m_picture.GetWidth() * 4;
        while (!m_uniform && copied < count && m_rowIndex < m_picture.GetHeight()) {
            if (m_rowIndex < 0 || m_rowOffset >= rowBytes) {
                if (!ConvertNextRow())
                    break;
            }
            ULONG part = ULONG(rowBytes - m_rowOffset);
            if (part > count - copied)
                part = count - copied;
            memcpy(out + copied, m_row.GetData() + m_rowOffset, part);
            m_rowOffset += int(part);
            copied += part;
        }
        if (read)
            *read = copied;
        return copied > 0 ? S_OK : S_FALSE;
    });
}
