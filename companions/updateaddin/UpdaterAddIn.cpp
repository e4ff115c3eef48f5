#include "companions/updateaddin/UpdaterAddIn.h"

#include "companions/updateaddin/FileAccessWaiter.h"
#include "companions/updateaddin/UpdaterClassFactory.h"
#include "companions/updateaddin/UpdaterResultFile.h"

#include "addin/core/OfficeAddInKeys.h"
#include "addin/update/CommandRecord.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/UpdateInstaller.h"
#include "addin/update/UpdaterFolder.h"
#include "addin/update/UpdaterLock.h"
#include "base/MKCrashGuard.h"
#include "base/MKPath.h"
#include "base/MKSharedSecurity.h"
#include "hostapi/PowerPointInterfaces.h"

#include <new>

const wchar_t UpdaterAddIn::kProgId[] = L"VistelloUpdater.AddIn";
const wchar_t UpdaterAddIn::kMainProgId[] = L"Vistello.AddIn";

namespace {

// Codes of the update's outcome, as "cmd.dat" and "result.dat" carry them.
enum UpdateError : int32_t {
    kMainAddInNotFound = 101,
    kMainAddInNotDisconnected = 102,
    kMainAddInNotFoundAgain = 201,
    kMainAddInNotConnected = 202,
    kFilesInUse = 301,
    kWaiterExists = 401,
    kInstallerExists = 402,
    kCannotPrepare = 403,
    kNothingToInstall = 404,
    kSetupsDamaged = 405,
    kWaiterCannotStart = 406,
    kStagingFailed = 407,
    kCannotPostStart = 408,
    kCannotInstallFiles = 501,
    kCannotRecord = 502,
    kException = 990,
};

const int64_t kFileAccessTimeoutMs = 1000;

// Holds a reference on the object for a step: Connect re-enters Office,
// which may release the add-in from inside the call.
class SelfReference {
public:
    explicit SelfReference(IUnknown* object) : m_object(object) { m_object->AddRef(); }
    ~SelfReference() { m_object->Release(); }
    SelfReference(const SelfReference&) = delete;
    SelfReference& operator=(const SelfReference&) = delete;

private:
    IUnknown* m_object;
};

}  // namespace

UpdaterAddIn::UpdaterAddIn(UpdaterClassFactory* factory, IUnknown* outer) : CompanionAddIn(factory, outer)
{
    wchar_t path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameW(GetModuleInstance(), path, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        m_modulePath = MKString::MKStringFromChars(path, length);
        m_ownFolder = MKPathDirectory(m_modulePath);
    }
}

UpdaterAddIn::~UpdaterAddIn()
{
    delete m_installer;
    m_installer = nullptr;
    ReleaseLock();
    delete m_lock;
    DeleteWaiter();
}

void UpdaterAddIn::Connected(IDispatch* application, IDispatch* addInInst)
{
    IUnknown* comAddIn = nullptr;
    if (!addInInst || FAILED(addInInst->QueryInterface(Office::IID_COMAddIn, reinterpret_cast<void**>(&comAddIn))))
        return;
    RunRequest(application);
    comAddIn->Release();
}

void UpdaterAddIn::Fail(int32_t code, const MKString& message)
{
    m_errorCode = code;
    m_message = message;
}

void UpdaterAddIn::RunRequest(IDispatch* application)
{
    SelfReference self(this);
    m_application.Assign(application);
    int32_t value = -1;
    MKString text;
    if (!ReadCommandFile(m_ownFolder, &value, &text)) {
        value = -1;
        text.Clear();
    }
    DeleteCommandFile(m_ownFolder);
    if (!text.EqualsText(L"prepare"))
        return;
    // A request while an update is under way (or after one) is refused
    // without touching that update's flag and outcome.
    if (m_waiter || m_installer) {
        int32_t busy = m_waiter ? kWaiterExists : kInstallerExists;
        WriteCommandFile(m_ownFolder, MKSharedSecurity::Global(), busy, MKString());
        return;
    }
    m_prepare = value == 1;
    RunUpdate();
    WriteCommandFile(m_ownFolder, MKSharedSecurity::Global(), m_errorCode, m_message);
}

void UpdaterAddIn::RunUpdate()
{
    if (!StartUpdate())
        DeleteWaiter();
}

bool UpdaterAddIn::StartUpdate()
{
    m_installer = new (std::nothrow) UpdateInstaller(m_ownFolder);
    m_lock = new (std::nothrow) UpdaterLock(m_ownFolder);
    if (!m_installer || !m_lock) {
        Fail(kCannotPrepare, MKString());
        return false;
    }
    // The installer program's own setup was installed by the main add-in.
    m_installer->SetLeaveOutInstaller(true);
    if (!m_installer->Prepare()) {
        Fail(kCannotPrepare, MKString());
        return false;
    }
    if (m_installer->IsComplete()) {
        Fail(kNothingToInstall, MKString());
        return false;
    }
    if (!m_installer->Verify()) {
        Fail(kSetupsDamaged, MKString());
        return false;
    }
    m_installer->PlanBackups();
    m_waiter = new (std::nothrow) FileAccessWaiter();
    if (!m_waiter || !m_waiter->Start(GetModuleInstance(), this, kFileAccessTimeoutMs)) {
        Fail(kWaiterCannotStart, MKString());
        return false;
    }
    if (m_installer->InstallSetups() != 0) {
        Fail(kStagingFailed, MKString());
        return false;
    }
    if (!m_waiter->PostStart()) {
        m_installer->DiscardStaged();
        Fail(kCannotPostStart, MKString());
        return false;
    }
    return true;
}

void UpdaterAddIn::DeleteWaiter()
{
    FileAccessWaiter* waiter = m_waiter;
    m_waiter = nullptr;
    delete waiter;
}

HWND UpdaterAddIn::MainWindow() const
{
    MKComHolder<PowerPoint::Application> application;
    PowerPoint::Application* raw = nullptr;
    if (!m_application ||
        FAILED(m_application->QueryInterface(PowerPoint::IID_Application, reinterpret_cast<void**>(&raw))) || !raw)
        return nullptr;
    application.Attach(raw);
    long handle = 0;
    if (FAILED(application->get_HWND(&handle)))
        return nullptr;
    HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
    return IsWindow(window) ? window : nullptr;
}

bool UpdaterAddIn::FindComAddIn(const wchar_t* progId, MKComHolder<Office::COMAddIn>& found) const
{
    PowerPoint::Application* application = nullptr;
    if (!m_application || FAILED(m_application->QueryInterface(PowerPoint::IID_Application,
                                                               reinterpret_cast<void**>(&application))))
        return false;
    Office::COMAddIns* list = nullptr;
    HRESULT hr = application->get_COMAddIns(&list);
    application->Release();
    if (FAILED(hr) || !list)
        return false;
    MKComHolder<Office::COMAddIns> addIns;
    addIns.Attach(list);
    long count = 0;
    if (FAILED(addIns->get_Count(&count)))
        return false;
    for (long index = 1; index <= count; ++index) {
        VARIANT position;
        VariantInit(&position);
        position.vt = VT_I4;
        position.lVal = index;
        Office::COMAddIn* item = nullptr;
        if (FAILED(addIns->Item(&position, &item)) || !item)
            continue;
        MKComHolder<Office::COMAddIn> holder;
        holder.Attach(item);
        BSTR itemProgId = nullptr;
        bool same = SUCCEEDED(item->get_ProgId(&itemProgId)) && itemProgId && wcscmp(itemProgId, progId) == 0;
        SysFreeString(itemProgId);
        if (same) {
            found = holder;
            return true;
        }
    }
    return false;
}

bool UpdaterAddIn::DisconnectMainAddIn()
{
    MKComHolder<Office::COMAddIn> addIn;
    if (!FindComAddIn(kMainProgId, addIn)) {
        Fail(kMainAddInNotFound, MKString(L"Unable to find the COM Add-In"));
        return false;
    }
    HRESULT hr = addIn->put_Connect(VARIANT_FALSE);
    if (FAILED(hr)) {
        Fail(kMainAddInNotDisconnected, MKString::FromFormat(L"Unable to disconnect the COM Add-In (%08X)", hr));
        return false;
    }
    return true;
}

bool UpdaterAddIn::ConnectMainAddIn(bool report)
{
    MKComHolder<Office::COMAddIn> addIn;
    if (!FindComAddIn(kMainProgId, addIn)) {
        if (report)
            Fail(kMainAddInNotFoundAgain, MKString(L"Unable to find the COM Add-In"));
        return false;
    }
    HRESULT hr = addIn->put_Connect(VARIANT_TRUE);
    if (FAILED(hr)) {
        if (report)
            Fail(kMainAddInNotConnected, MKString::FromFormat(L"Unable to connect the COM Add-In (%08X)", hr));
        return false;
    }
    return true;
}

void UpdaterAddIn::UnregisterSelf()
{
    SelfReference self(this);
    if (m_waiter) {
        m_waiter->Stop();
        DeleteWaiter();
    }
    MKComHolder<Office::COMAddIn> addIn;
    // Office disconnects this add-in from inside the call.
    if (FindComAddIn(kProgId, addIn))
        addIn->put_Connect(VARIANT_FALSE);
    OfficeAddInKeys::Remove(kOfficePowerPoint, kProgId, kScopeCurrentUser);
}

void UpdaterAddIn::ReleaseLock()
{
    if (m_lockHeld)
        m_lock->Release();
    m_lockHeld = false;
}

void UpdaterAddIn::WriteResult()
{
    if (m_installer)
        WriteUpdaterResultFile(m_ownFolder, MKSharedSecurity::Global(), 1, m_prepare, m_errorCode, m_message);
}

bool UpdaterAddIn::IsMainAddInReleased()
{
    // Office frees the main add-in's library only when COM is asked to.
    CoFreeUnusedLibrariesEx(0, 0);
    return GetModuleHandleW(GetAddInDllPath(m_ownFolder).GetText()) == nullptr;
}

bool UpdaterAddIn::StepReleaseMainAddIn()
{
    SelfReference self(this);
    static MKExceptionInfo s_info;
    bool released = false;
    if (MKCrashGuard(s_info, [&] { released = DisconnectMainAddIn(); }) && released)
        return true;
    static MKExceptionInfo s_reportInfo;
    MKCrashGuard(s_reportInfo, [&] {
        ReportFailure();
        UnregisterSelf();
    });
    return false;
}

bool UpdaterAddIn::InstallFiles()
{
    // The main add-in let go of the updater lock once this add-in answered:
    // it is taken again for the moves and held until the outcome is written,
    // so that no check or installer program works on the files meanwhile. A
    // holder elsewhere means waiting for the next tick.
    if (!m_lock->Acquire())
        return false;
    m_lockHeld = true;
    // The installed files of the replaced setups move aside, all or none;
    // one still in use means waiting for the next tick.
    if (!m_installer->ApplyBackups()) {
        ReleaseLock();
        return false;
    }
    // The backups stay until the new files are in place and recorded: a
    // failure brings the installed files back.
    if (!m_installer->CommitStaged()) {
        Fail(kCannotInstallFiles, MKString(L"Unable to install files"));
        return true;
    }
    if (m_installer->RecordInstallation(true, 1, m_prepare, MKString(), MKString()))
        m_installer->DeleteAll();
    else
        Fail(kCannotRecord, MKString(L"Unable to write internal files"));
    return true;
}

bool UpdaterAddIn::StepInstallFiles()
{
    SelfReference self(this);
    static MKExceptionInfo s_installInfo;
    bool done = false;
    if (MKCrashGuard(s_installInfo, [&] { done = InstallFiles(); })) {
        if (!done)
            return false;
    } else {
        m_errorCode = kException;
    }

    static MKExceptionInfo s_finishInfo;
    bool finished = MKCrashGuard(s_finishInfo, [&] {
        if (m_waiter)
            m_waiter->Stop();
        if (m_errorCode != 0)
            m_installer->DiscardStaged();
        WriteResult();
        ReleaseLock();
        if (ConnectMainAddIn(m_errorCode == 0)) {
            // After success the restarted main add-in removes this one.
            if (m_errorCode != 0)
                UnregisterSelf();
            return;
        }
        // The main add-in is not running to read the outcome.
        ResultRecord::Delete(m_ownFolder);
        ReportFailure();
        UnregisterSelf();
    });
    if (!finished) {
        m_errorCode = kException;
        static MKExceptionInfo s_lastInfo;
        MKCrashGuard(s_lastInfo, [&] {
            WriteResult();
            ReleaseLock();
            ReportFailure();
            UnregisterSelf();
        });
    }
    return true;
}

void UpdaterAddIn::StepTimeout()
{
    SelfReference self(this);
    static MKExceptionInfo s_info;
    bool finished = MKCrashGuard(s_info, [&] {
        if (m_waiter)
            m_waiter->Stop();
        Fail(kFilesInUse, MKString(L"Unable to access files (timeout)"));
        m_installer->DiscardStaged();
        WriteResult();
        if (!ConnectMainAddIn(false)) {
            ResultRecord::Delete(m_ownFolder);
            ReportFailure();
        }
        UnregisterSelf();
    });
    if (!finished) {
        m_errorCode = kException;
        static MKExceptionInfo s_lastInfo;
        MKCrashGuard(s_lastInfo, [&] {
            WriteResult();
            ReleaseLock();
            ReportFailure();
            UnregisterSelf();
        });
    }
}
