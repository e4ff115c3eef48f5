#include "addin/imaging/drawing/GfxObjects.h"

// The shader table's slots.

namespace GfxShaderSlots {

void Release(GfxShader* shader)
{
    if (!GfxCheck(shader))
        return;
    GfxReleaseLock lock;
    shader->shader->Release();
    delete shader;
}

int32_t GetLocalMatrix(GfxShader* shader, void* matrix)
{
    DrawMatrix local;
    if (!GfxCheck(shader) || !matrix || !shader->shader->GetLocalMatrix(&local))
        return 0;
    GfxWriteMatrix(local, matrix);
    return 1;
}

void SetLocalMatrix(GfxShader* shader, const void* matrix)
{
    if (GfxCheck(shader) && matrix)
        shader->shader->SetLocalMatrix(GfxReadMatrix(matrix));
}

}  // namespace GfxShaderSlots

extern const GfxSlot kGfxShaderTable[kGfxShaderSlots] = {
    GFX_SLOT(GfxShaderSlots::Release),
    GFX_SLOT(GfxShaderSlots::GetLocalMatrix),
    GFX_SLOT(GfxShaderSlots::SetLocalMatrix),
};
