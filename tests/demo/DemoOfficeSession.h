#pragma once
#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/StandInClr.h"
#include "DemoUpdate.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <windows.h>

#include <memory>
#include <string>

namespace standin {
class PowerPointHost;
class PresentationObject;
}

// What one step did, or why it failed (empty when it worked).
struct DemoStepResult {
    std::string summary;
    std::string failure;
};

// One run of the stand-in PowerPoint for the demo: the stand-in .NET runtime
// set up, the add-ins' error boxes caught, and the evidence written into the
// out folder. Runs on the calling thread.
class DemoOfficeSession {
public:
    explicit DemoOfficeSession(const std::wstring& outFolder);
    ~DemoOfficeSession();
    DemoOfficeSession(const DemoOfficeSession&) = delete;
    DemoOfficeSession& operator=(const DemoOfficeSession&) = delete;

    // Office's start-up with the generated presentation open: the loader
    // add-in connects and hands over to the add-in, whose plug-in kernel
    // starts. Writes ribbon.xml, startup-office.txt and startup-clr.txt.
    DemoStepResult StartUp();
    // A slide show of the presentation through all its slides and builds:
    // the content's effects show their content over the slide, saved per
    // slide as show-<n>.png; on the content slide the trampoline's verb
    // reaches the show's session. The show ends with its session stopped.
    DemoStepResult Show();
    // Runs the loopback update service with its offer, named in the
    // product's settings, for the check at the next start-up.
    void OfferUpdate();
    // The update cycle: the check at start-up downloads the offered update
    // and records it in ready.dat; PowerPoint starts again and the add-in
    // installs it through the update add-in, which leaves result.dat for the
    // restarted add-in. Writes versions-before.txt, versions-after.txt,
    // update-requests.txt, ready.dat and result.dat.
    DemoStepResult Update();
    // Office's shut-down: the add-ins disconnect, the runtime stops, and the
    // application closes.
    DemoStepResult ShutDown();
    // Keeps PowerPoint's messages flowing until the file exists or the time
    // has passed.
    void WaitForFile(const std::wstring& path, DWORD timeoutMs);

private:
    std::wstring OutFile(const wchar_t* name) const { return m_out + L"\\" + name; }
    // A new PowerPoint with the demo's presentation open, started.
    void StartPowerPoint();
    std::string ErrorBoxes() const;

    std::wstring m_out;
    ComScope m_com;
    StandInClr m_clr;
    ErrorBoxWatcher m_boxes;
    // The Flash movies play in the stand-in Flash Player control.
    ControlRegistration m_flash{StandInControl::Flash101};
    std::unique_ptr<standin::PowerPointHost> m_host;
    standin::PresentationObject* m_presentation = nullptr;
    DemoUpdateService m_service;
    std::string m_serviceFailure = "no update was offered";
};
