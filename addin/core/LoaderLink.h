#pragma once
#include "addin/core/ComAddInSearch.h"
#include "addin/core/LoaderRecords.h"
#include "hostapi/PowerPointInterfaces.h"
#include "base/MKComHolder.h"
#include "base/MKRefClass.h"

// What the add-in keeps of the loader road: the loader's module and version,
// and PowerPoint's Application and COMAddIns, the only references the road
// holds on PowerPoint. Owned by the loader's callback table until
// LoaderDestroy.
class LoaderLink : public MKRefClass {
public:
    LoaderLink() = default;

    // False for a null record, a size below 28, a version below 1, no
    // Application, or one without _Application or COMAddIns.
    bool Initialize(const LoaderInfo* info);

    HINSTANCE GetLoaderModule() const { return m_loaderModule; }
    int32_t GetVersion() const { return m_version; }

    // "Vistello.AddIn" among PowerPoint's COM add-ins.
    ComAddInSearch FindAddIn(MKComHolder<Office::COMAddIn>& found) const;
    // Writes the per-user Office entry, makes Office read the entries again
    // and connects the add-in. Any failure removes the entry again, so the
    // loader tries anew at the next start.
    bool RegisterAndConnect();

private:
    int32_t m_version = 0;
    HINSTANCE m_loaderModule = nullptr;
    HMODULE m_addInModule = nullptr;
    MKComHolder<PowerPoint::Application> m_application;
    MKComHolder<Office::COMAddIns> m_comAddIns;
};
