#include "addin/hosting/TexturedQuad.h"

#include <string.h>

static_assert(sizeof(TexturedQuad::Vertex) == 28, "the vertex stride the device is given");

TexturedQuad::~TexturedQuad()
{
    Release();
}

bool TexturedQuad::Create(IDirect3DDevice9* device, int x, int y, int width, int height, uint8_t alpha)
{
    if (Exists() || !device)
        return false;
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    m_alpha = alpha;
    m_verticesDirty = true;
    if (FAILED(device->CreateTexture(width, height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                     &m_texture, nullptr)) ||
        FAILED(device->CreateVertexBuffer(4 * sizeof(Vertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, kFvf,
                                          D3DPOOL_DEFAULT, &m_vertices, nullptr)) ||
        !WriteVertices()) {
        Release();
        return false;
    }
    return true;
}

void TexturedQuad::Release()
{
    if (m_vertices)
        m_vertices->Release();
    if (m_texture)
        m_texture->Release();
    m_vertices = nullptr;
    m_texture = nullptr;
}

void TexturedQuad::MoveTo(int x, int y)
{
    if (x == m_x && y == m_y)
        return;
    m_x = x;
    m_y = y;
    m_verticesDirty = true;
}

void TexturedQuad::SetAlpha(uint8_t alpha)
{
    if (alpha == m_alpha)
        return;
    m_alpha = alpha;
    m_verticesDirty = true;
}

void TexturedQuad::FillVertices(int x, int y, int width, int height, uint8_t alpha, Vertex out[4])
{
    const float left = x - 0.5f, top = y - 0.5f;
    const DWORD diffuse = DWORD(alpha) << 24 | 0xFFFFFF;
    out[0] = {left, top, 0, 1, diffuse, 0, 0};
    out[1] = {left + width, top, 0, 1, diffuse, 1, 0};
    out[2] = {left + width, top + height, 0, 1, diffuse, 1, 1};
    out[3] = {left, top + height, 0, 1, diffuse, 0, 1};
}

bool TexturedQuad::WriteVertices()
{
    if (!m_verticesDirty)
        return true;
    void* data = nullptr;
    if (FAILED(m_vertices->Lock(0, 0, &data, D3DLOCK_DISCARD)))
        return false;
    Vertex vertices[4];
    FillVertices(m_x, m_y, m_width, m_height, m_alpha, vertices);
    memcpy(data, vertices, sizeof(vertices));
    m_vertices->Unlock();
    m_verticesDirty = false;
    return true;
}

void TexturedQuad::Draw(IDirect3DDevice9* device)
{
    if (m_width <= 0 || m_height <= 0 || !Exists() || !WriteVertices())
        return;
    device->SetTexture(0, m_texture);
    device->SetStreamSource(0, m_vertices, 0, sizeof(Vertex));
    device->SetVertexShader(nullptr);
    device->SetFVF(kFvf);
    device->DrawPrimitive(D3DPT_TRIANGLEFAN, 0, 2);
}
