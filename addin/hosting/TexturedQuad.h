#pragma once
#include <d3d9.h>
#include <stdint.h>

// A textured rectangle in window pixels: a render-target texture and four
// pre-transformed vertices drawn as a triangle fan, with one alpha in the
// vertex colour. The vertices are rewritten only when position or alpha
// changed.
class TexturedQuad {
public:
    // One vertex as the fixed-function pipeline reads it (XYZRHW | DIFFUSE |
    // TEX1).
    struct Vertex {
        float x, y, z, rhw;
        DWORD diffuse;
        float u, v;
    };
    static constexpr DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

    TexturedQuad() = default;
    ~TexturedQuad();
    TexturedQuad(const TexturedQuad&) = delete;
    TexturedQuad& operator=(const TexturedQuad&) = delete;

    bool Create(IDirect3DDevice9* device, int x, int y, int width, int height, uint8_t alpha);
    void Release();
    void Draw(IDirect3DDevice9* device);
    // A new place (same size) or alpha; the vertices follow on the next Draw.
    void MoveTo(int x, int y);
    void SetAlpha(uint8_t alpha);

    // The four vertices of a quad (the pixel centres sit at half pixels).
    static void FillVertices(int x, int y, int width, int height, uint8_t alpha, Vertex out[4]);

    bool Exists() const { return m_texture != nullptr; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    uint8_t GetAlpha() const { return m_alpha; }
    IDirect3DTexture9* GetTexture() const { return m_texture; }

private:
    bool WriteVertices();

    int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
    uint8_t m_alpha = 255;
    bool m_verticesDirty = true;
    IDirect3DVertexBuffer9* m_vertices = nullptr;
    IDirect3DTexture9* m_texture = nullptr;
};
