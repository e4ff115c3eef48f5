#include "player/engine/GLTable.h"

#include <cstring>

GLTable gGL = {};

namespace {

HMODULE gLibrary = nullptr;
int gUses = 0;

void ClearTable()
{
    gGL = {};
    gGL.edgeClampMode = GL_CLAMP;
}

}  // namespace

int LoadGLTable(const char* library)
{
    if (gUses > 0) {
        ++gUses;
        return 0;
    }
    HMODULE module = LoadLibraryA(library);
    if (!module)
        return 1;
    gLibrary = module;
    ClearTable();
    bool complete = true;
#define VISTELLO_GL_RESOLVE(name)                                                                      \
    gGL.name = reinterpret_cast<decltype(gGL.name)>(reinterpret_cast<void*>(GetProcAddress(module, #name))); \
    complete = complete && gGL.name;
    VISTELLO_GL_ENTRIES(VISTELLO_GL_RESOLVE)
#undef VISTELLO_GL_RESOLVE
    gUses = 1;
    if (!complete) {
        ReleaseGLTable();
        return 2;
    }
    return 0;
}

void ReleaseGLTable()
{
    if (gUses-- <= 1) {
        gUses = 0;
        gLibrary = nullptr;
        ClearTable();
    }
}

void ApplyGLExtensions(const char* extensions)
{
    const char* text = extensions ? extensions : "";
    gGL.edgeClampMode = std::strstr(text, "GL_EXT_texture_edge_clamp") ? GL_CLAMP_TO_EDGE : GL_CLAMP;
    gGL.addSwapHintRect = nullptr;
    if (std::strstr(text, "GL_WIN_swap_hint") && gGL.wglGetProcAddress)
        gGL.addSwapHintRect =
            reinterpret_cast<PVAddSwapHintRect>(reinterpret_cast<void*>(gGL.wglGetProcAddress("glAddSwapHintRectWIN")));
}
