#include "addin/hosting/Direct3D9Library.h"

#include "base/MKDynLib.h"

namespace {

using CreateFunction = IDirect3D9*(WINAPI*)(UINT);

MKDynLib s_library;
CreateFunction s_create = nullptr;
bool s_tried = false;

}  // namespace

bool LoadDirect3D9()
{
    if (!s_tried) {
        s_tried = true;
        s_create = MKLoadProc<CreateFunction>(s_library, L"d3d9.dll", "Direct3DCreate9");
        if (!s_create)
            s_library.Free();
    }
    return s_create != nullptr;
}

IDirect3D9* CreateDirect3D9(UINT sdkVersion)
{
    return s_create ? s_create(sdkVersion) : nullptr;
}
