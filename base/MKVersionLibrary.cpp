#include "base/MKVersionLibrary.h"

namespace {

template <typename T>
void Find(const MKDynLib& library, const char* name, T& function)
{
    function = reinterpret_cast<T>(reinterpret_cast<void*>(library.GetProcW(name)));
}

}  // namespace

bool MKVersionLibrary::Load()
{
    if (IsLoaded())
        return true;
    if (!m_mayLoad)
        return false;
    if (m_library.Load(L"version.dll")) {
        Find(m_library, "VerQueryValue", queryValue);
        Find(m_library, "GetFileVersionInfo", getInfo);
        Find(m_library, "GetFileVersionInfoSize", getInfoSize);
        Find(m_library, "VerLanguageName", languageName);
        if (queryValue && getInfo && getInfoSize && languageName)
            return true;
    }
    Unload();
    m_mayLoad = false;
    return false;
}

void MKVersionLibrary::Unload()
{
    m_library.Free();
    queryValue = nullptr;
    getInfo = nullptr;
    getInfoSize = nullptr;
    languageName = nullptr;
}
