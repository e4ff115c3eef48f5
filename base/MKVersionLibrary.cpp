#include "base/MKVersionLibrary.h"

bool MKVersionLibrary::Load()
{
    if (IsLoaded())
        return true;
    if (!m_mayLoad)
        return false;
    if (m_library.Load(L"version.dll")) {
        MKCastProc(m_library.GetProcW("VerQueryValue"), queryValue);
        MKCastProc(m_library.GetProcW("GetFileVersionInfo"), getInfo);
        MKCastProc(m_library.GetProcW("GetFileVersionInfoSize"), getInfoSize);
        MKCastProc(m_library.GetProcW("VerLanguageName"), languageName);
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
