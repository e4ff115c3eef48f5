#include "CoreTestSupport.h"

const wchar_t kKernelName[] = L"Vistello.Kernel, Version=2.1.0.5, Culture=neutral, PublicKeyToken=null";

std::string KernelAssembly()
{
    return StandInAssembly(kKernelName)
        .Type(L"Brelix.Vistello.Kernel",
              {{L"Kind", L"kernel"}, {L"Guid", L"b80321f4-6a3c-48c1-89a9-fdcff7ba605a"}, {L"Name", L"Kernel"}})
        .Bytes();
}

std::wstring PluginName(const wchar_t* name)
{
    return std::wstring(name) + L", Version=1.0.0.0, Culture=neutral, PublicKeyToken=null";
}

std::string PluginAssembly(const wchar_t* name, const wchar_t* guid)
{
    return StandInAssembly(PluginName(name))
        .Type(std::wstring(L"Test.") + name, {{L"Kind", L"plugin"}, {L"Guid", guid}, {L"Name", name}})
        .Bytes();
}
