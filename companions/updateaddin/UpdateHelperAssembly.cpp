#include "companions/updateaddin/UpdateHelperAssembly.h"

#include "companions/updateaddin/ResourceBlock.h"

#include "addin/core/AssemblyName.h"
#include "addin/core/ClrHost.h"
#include "addin/core/RuntimeVersions.h"
#include "addin/effects/ClrObject.h"
#include "addin/update/ScramblePackageBlock.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKCompressBuffers.h"
#include "base/MKSafeArray.h"

#include <new>
#include <string.h>

bool UpdateHelperAssembly::CanUse() const
{
    return m_host || IsClrRequirementMet();
}

bool UpdateHelperAssembly::StartHost()
{
    if (m_host)
        return true;
    // A runtime bound before this report belongs to others in the process.
    m_sharedRuntime = GetModuleHandleW(L"mscoree.dll") != nullptr;
    m_host = new (std::nothrow) ClrHost();
    if (m_host && m_host->Start(nullptr, true))
        return true;
    delete m_host;
    m_host = nullptr;
    return false;
}

bool UpdateHelperAssembly::Load(const wchar_t* typeName, const MKString& folder)
{
    // Mapped as data only: no code of the installer program runs here.
    HMODULE module = LoadLibraryExW(GetUpdaterExePath(folder).GetText(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return false;
    bool loaded = LoadFromResource(typeName, module, kResourceId);
    FreeLibrary(module);
    return loaded;
}

bool UpdateHelperAssembly::LoadFromResource(const wchar_t* typeName, HMODULE module, int identifier)
{
    if (!m_host)
        return false;
    ResourceBlock block(identifier);
    DWORD size = 0;
    const auto* data = static_cast<const uint8_t*>(block.Load(module, &size));
    if (!data || size < 5 || size > static_cast<DWORD>(kMaxImageSize) + 4)
        return false;
    int32_t n;
    memcpy(&n, data, 4);
    const uint8_t* payload = data + 4;
    int payloadSize = static_cast<int>(size - 4);

    MKSafeArray image(VT_UI1);
    MKSafeArray symbols(VT_UI1);
    if (n < 0) {
        if (!image.Create(payloadSize))
            return false;
        memcpy(image.AccessData(), payload, payloadSize);
        image.Unaccess();
    } else {
        if (n == 0 || n > kMaxImageSize || !image.Create(n))
            return false;
        // One byte of room beyond n tells a stream that decodes to more.
        auto* buffer = new (std::nothrow) uint8_t[payloadSize + n + 1];
        if (!buffer)
            return false;
        uint8_t* decoded = buffer + payloadSize;
        memcpy(buffer, payload, payloadSize);
        ScramblePackageBlock(buffer, payloadSize, kReportResourceSeed);
        int produced = 0;
        bool exact = MKLzmaDecodeBuffer(buffer, payloadSize, decoded, n + 1, &produced) && produced == n;
        if (exact) {
            memcpy(image.AccessData(), decoded, n);
            image.Unaccess();
        }
        delete[] buffer;
        if (!exact)
            return false;
    }
    m_assembly = m_host->LoadAssemblyImage(image, &symbols);
    if (!m_assembly)
        return false;
    m_object = m_assembly->CreateInstance(typeName);
    return m_object != nullptr;
}

void UpdateHelperAssembly::Release()
{
    if (!m_host)
        return;
    if (m_object) {
        m_object->InvokeMethod(L"Dispose", nullptr, 0, nullptr);
        delete m_object;
        m_object = nullptr;
    }
    m_assembly = nullptr;
    if (m_sharedRuntime)
        m_host->Detach();
    else
        m_host->Stop();
    delete m_host;
    m_host = nullptr;
}
