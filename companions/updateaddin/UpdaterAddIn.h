#pragma once
#include <windows.h>
#include <stdint.h>

#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "companions/shared/CompanionAddIn.h"
#include "companions/updateaddin/UpdateSteps.h"
#include "hostapi/OfficeInterfaces.h"

class FileAccessWaiter;
class UpdaterClassFactory;
class UpdateInstaller;
class UpdaterLock;

// The update add-in's COM object. Connected by the main add-in with a
// "prepare" request in "cmd.dat", it stages the downloaded setups with the
// update installer and answers in "cmd.dat"; then, from its waiter's window,
// it disconnects the main add-in, moves the new files into place once they
// are free (all or nothing), writes "result.dat", reconnects the main add-in
// and, after a failure, reports it and unregisters itself. Every file lies
// in the "updater" folder beside the library. PowerPoint's user-interface
// thread only; counts are interlocked.
class UpdaterAddIn final : public CompanionAddIn, private UpdateSteps {
public:
    // Count 1 (CompanionAddIn).
    UpdaterAddIn(UpdaterClassFactory* factory, IUnknown* outer);

    const MKString& GetOwnFolder() const { return m_ownFolder; }

    // Only Office's own connection of a COM add-in (AddInInst answers
    // COMAddIn) carries a request: the request of "cmd.dat", if any;
    // "prepare" stages the update and writes the reply. An outcome left in
    // "result.dat" stays for the main add-in, which reads and deletes it at
    // its own start; a new outcome replaces it.
    void Connected(IDispatch* application, IDispatch* addInInst) override;

    // The outcome as the steps left it.
    int32_t GetErrorCode() const { return m_errorCode; }
    const MKString& GetMessage() const { return m_message; }
    bool GetPrepareFlag() const { return m_prepare; }

    // Tells the user of the failure, unless the main add-in will (prepare
    // flag): the report assembly of the installer program when it can run,
    // else a message box.
    void ReportFailure();

    // The update add-in's and the main add-in's ProgIDs.
    static const wchar_t kProgId[];
    static const wchar_t kMainProgId[];

private:
    ~UpdaterAddIn() override;

    void RunRequest(IDispatch* application);

    bool StepReleaseMainAddIn() override;
    bool StepInstallFiles() override;
    void StepTimeout() override;
    bool IsMainAddInReleased() override;

    void RunUpdate();
    bool StartUpdate();
    bool InstallFiles();
    void WriteResult();
    void ReleaseLock();
    // "Vistello.AddIn" or "VistelloUpdater.AddIn" among Office's COM add-ins.
    bool FindComAddIn(const wchar_t* progId, MKComHolder<Office::COMAddIn>& found) const;
    bool DisconnectMainAddIn();
    bool ConnectMainAddIn(bool report);
    void UnregisterSelf();
    void DeleteWaiter();
    void Fail(int32_t code, const MKString& message);
    // PowerPoint's main window, or null.
    HWND MainWindow() const;

    MKString m_modulePath;
    MKString m_ownFolder;
    FileAccessWaiter* m_waiter = nullptr;
    UpdateInstaller* m_installer = nullptr;
    // Taken for the moves and held until the outcome is written.
    UpdaterLock* m_lock = nullptr;
    bool m_lockHeld = false;
    MKComHolder<IDispatch> m_application;
    bool m_prepare = false;
    MKString m_message;
    int32_t m_errorCode = 0;
};
