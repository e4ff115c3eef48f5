#pragma once
#include <d3d9.h>

// d3d9.dll loaded at run time, once per process (machines without it still
// run with GDI). True when the library and its Direct3DCreate9 export exist.
bool LoadDirect3D9();
// Direct3DCreate9 of the loaded library; null before LoadDirect3D9 succeeded
// or when the library refuses.
IDirect3D9* CreateDirect3D9(UINT sdkVersion);
