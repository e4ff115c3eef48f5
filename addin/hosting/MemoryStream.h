#pragma once
#include "addin/hosting/PixelBuffer.h"
#include "addin/hosting/ReadOnlyStream.h"

#include <stdint.h>

// A read-only IStream over a captured 32-bit picture, in the form hosted
// movies read the picture behind them: a one-colour picture is the 12 bytes
// {0x4845A3C8, 1, colour 0xAARRGGBB}; any other is {0x4845A3C8, 0, width,
// height} followed by the rows from the top, each pixel as alpha, red, green,
// blue (header integers little-endian). The header is delivered whole: a read
// too small for it fails without consuming anything. The stream copies the
// pixels when it is made, so the capture may change or go away meanwhile.
// On the user-interface thread.
class MemoryStream final : public ReadOnlyStream {
public:
    // A stream with count 0 (the creator takes the first reference); null for
    // a picture without 4-byte pixels or when memory runs out.
    static MemoryStream* Create(const PixelBuffer& picture);

    // The number of bytes the stream delivers in all.
    uint32_t GetSize() const;

    // S_OK when at least one byte was copied, S_FALSE at the end; E_FAIL for
    // a null buffer or a first read smaller than the header.
    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG count, ULONG* read) override;

private:
    MemoryStream() = default;
    ~MemoryStream() override = default;

    int HeaderSize() const { return m_uniform ? 12 : 16; }
    // Converts the next picture row into the row buffer; false at the end.
    bool ConvertNextRow();

    PixelBuffer m_picture;
    bool m_uniform = false;
    uint32_t m_colour = 0;
    bool m_headerSent = false;
    PixelBuffer m_row;
    int m_rowIndex = -1;
    int m_rowOffset = 0;
};
