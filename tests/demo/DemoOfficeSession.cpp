#include "DemoOfficeSession.h"

#include "DemoPresentation.h"
#include "DemoShow.h"
#include "PictureMatch.h"
#include "TrampolineVerb.h"

#include "addin/update/ReadyRecord.h"
#include "addin/update/ResultRecord.h"
#include "addin/update/UpdaterFolder.h"
#include "base/MKFile.h"
#include "fixtures/Fixtures.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/RibbonHost.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <stdio.h>

#include <algorithm>
#include <map>
#include <vector>

using standin::CallLog;
using standin::PowerPointHost;

namespace {

const wchar_t kAddIn[] = L"Vistello.AddIn";
const wchar_t kLoader[] = L"VistelloLoader.AddIn";

std::string Narrow(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

bool WriteText(const std::wstring& path, const std::string& text)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && written;
}

std::string Lines(const std::vector<std::wstring>& lines)
{
    std::string text;
    for (const std::wstring& line : lines)
        text += Narrow(line) + "\n";
    return text;
}

bool Contains(const std::vector<std::wstring>& lines, const std::wstring& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The add-in's registered library's folder: the installation; empty when
// the add-in is not registered.
std::wstring InstallationFolder()
{
    CLSID id;
    wchar_t text[40];
    wchar_t path[MAX_PATH];
    DWORD size = sizeof(path);
    if (FAILED(CLSIDFromProgID(kAddIn, &id)) || !StringFromGUID2(id, text, 40) ||
        RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + text + L"\\InprocServer32").c_str(), nullptr,
                     RRF_RT_REG_SZ, nullptr, path, &size) != ERROR_SUCCESS)
        return L"";
    const std::wstring file = path;
    const size_t slash = file.find_last_of(L'\\');
    return slash == std::wstring::npos ? L"" : file.substr(0, slash);
}

// The outcome the update add-in leaves in result.dat, taken just before the
// add-in, which deletes it, connects again.
struct KeptResult {
    MKString installation;
    std::wstring copy;
    bool read = false;
    int32_t step = 0;
    bool prepare = false;
    int32_t code = 0;
    MKString message;
};
KeptResult g_result;

void KeepResult(const std::wstring& progId)
{
    if (progId != kAddIn || !ResultRecord::Exists(g_result.installation))
        return;
    g_result.read = ReadResultFile(g_result.installation, &g_result.step, &g_result.prepare, &g_result.code,
                                   &g_result.message);
    CopyFileW(GetResultFilePath(g_result.installation).GetText(), g_result.copy.c_str(), FALSE);
}

}  // namespace

DemoOfficeSession::DemoOfficeSession(const std::wstring& outFolder) : m_out(outFolder)
{
    CallLog::Get().SetRecording(true);
}

DemoOfficeSession::~DemoOfficeSession()
{
    m_host.reset();
    CallLog::Get().SetRecording(false);
}

std::string DemoOfficeSession::ErrorBoxes() const
{
    std::string texts;
    for (const std::wstring& text : m_boxes.Texts())
        texts += (texts.empty() ? "" : "; ") + Narrow(text);
    return texts;
}

DemoStepResult DemoOfficeSession::StartUp()
{
    DemoStepResult result;
    StartPowerPoint();
    standin::ComAddInObject* loader = m_host->AddIn(kLoader);
    if (!loader || !loader->IsConnected()) {
        result.failure = "Office did not connect the loader add-in (is it installed and registered?)";
        return result;
    }
    // The loader hands over through a message the add-in posts to itself.
    bool connected = PumpUntil([&] { return m_host->AddIn(kAddIn) && m_host->AddIn(kAddIn)->IsConnected(); }, 30000);
    WriteText(OutFile(L"startup-office.txt"), Lines(CallLog::Get().EntriesStartingWith(L"AddIn.")));
    std::vector<std::wstring> clr = m_clr.Log();
    WriteText(OutFile(L"startup-clr.txt"), Lines(clr));
    standin::RibbonHost* ribbon = connected ? m_host->Ribbon(kAddIn) : nullptr;
    if (!ErrorBoxes().empty())
        result.failure = "the add-in reported: " + ErrorBoxes();
    else if (!connected)
        result.failure = "the loader add-in did not hand over to the add-in";
    else if (!Contains(clr, L"Kernel.OnStarted"))
        result.failure = "the plug-in kernel did not start in the .NET runtime";
    else if (!ribbon)
        result.failure = "Office received no ribbon from the add-in";
    else if (!WriteText(OutFile(L"ribbon.xml"), Narrow(ribbon->Xml())))
        result.failure = "ribbon.xml could not be written";
    else
        result.summary = "the loader handed over to the add-in, the plug-in kernel started (" +
                         std::to_string(clr.size()) + " runtime calls), ribbon of " +
                         std::to_string(ribbon->Xml().size()) + " characters";
    return result;
}

void DemoOfficeSession::StartPowerPoint()
{
    m_host = std::make_unique<PowerPointHost>(L"14.0");
    ShowWindow(m_host->App().MainWindow(), SW_SHOWNORMAL);
    m_presentation = AddDemoPresentation(m_host->App());
    m_host->Start();
}

DemoStepResult DemoOfficeSession::Show()
{
    DemoStepResult result;
    if (!m_host || !m_presentation) {
        result.failure = "PowerPoint has not started";
        return result;
    }
    const LONG verb = 11;
    std::string verbFailure = "the content slide was not reached";
    std::vector<std::string> saved;
    // How each content showed on the content slide.
    std::map<std::string, std::string> looks;
    auto shown = [&](int slide, const ShowPicture& picture) {
        const std::string name = "show-" + std::to_string(slide) + ".png";
        if (picture.SavePng(OutFile(std::wstring(name.begin(), name.end()).c_str())))
            saved.push_back(name);
        if (slide == kDemoContentSlide) {
            for (const DemoContent& effect : kDemoContent) {
                looks[effect.what] =
                    effect.shownPicture
                        ? "against ImageMagick's resize of its picture: " +
                              MatchPicture(picture, effect.left, effect.top, effect.width, effect.height,
                                           FixturePath(effect.shownPicture))
                                  .Describe()
                        : "in its colour over " +
                              std::to_string(int(100 * ShareOfColour(picture, effect.left, effect.top, effect.width,
                                                                     effect.height, effect.colour))) +
                              "%";
            }
        }
    };
    auto during = [&](int slide, standin::SlideShowWindowObject* show) {
        if (slide == kDemoContentSlide)
            verbFailure = FireTrampolineVerb(show->Pane(), verb);
    };
    std::string failure = DemoShow::Run(m_presentation, ShowsDemoSlide, 30000, shown, during);
    std::string content;
    for (const auto& [what, look] : looks)
        content += (content.empty() ? "" : "; ") + what + " " + look;
    if (!failure.empty())
        result.failure = failure;
    else if (!ErrorBoxes().empty())
        result.failure = "the add-in reported: " + ErrorBoxes();
    else if (!verbFailure.empty())
        result.failure = verbFailure;
    else if (saved.size() != kDemoSlideCount)
        result.failure = "the show's pictures could not all be saved";
    else
        result.summary = std::to_string(saved.size()) + " slides shown (show-1.png...), content over its shapes (" +
                         content + "); the trampoline's verb " + std::to_string(verb) +
                         " reached the show's session window; the show ended and its session stopped";
    return result;
}

void DemoOfficeSession::OfferUpdate()
{
    m_serviceFailure = m_service.Start();
}

DemoStepResult DemoOfficeSession::Update()
{
    DemoStepResult result;
    const std::wstring folder = InstallationFolder();
    const MKString installation(folder.c_str());
    if (!m_host)
        result.failure = "PowerPoint has not started";
    else if (!m_serviceFailure.empty())
        result.failure = m_serviceFailure;
    else if (folder.empty())
        result.failure = "the add-in's installation is not registered";
    if (!result.failure.empty())
        return result;
    const std::string before = InstalledVersions(folder);
    WriteText(OutFile(L"versions-before.txt"), before);
    // The check after the start asks the service and downloads the offer.
    const bool downloaded = PumpUntil(
        [&] { return IsReadyFilePresent(installation) && !MKFileExists(GetLockFilePath(installation)); }, 60000);
    WriteText(OutFile(L"update-requests.txt"), m_service.RequestLines());
    m_service.Stop();
    if (!downloaded || !CopyFileW(GetReadyFilePath(installation).GetText(), OutFile(L"ready.dat").c_str(), FALSE)) {
        result.failure = "the add-in's check downloaded no update into ready.dat (update-requests.txt)";
        return result;
    }
    // PowerPoint's next start installs it.
    m_host->Shutdown();
    m_host.reset();
    m_presentation = nullptr;
    g_result = KeptResult{installation, OutFile(L"result.dat")};
    standin::ComAddInObject::SetConnectingObserver(KeepResult);
    StartPowerPoint();
    const bool installed = PumpUntil(
        [&] {
            standin::ComAddInObject* main = m_host->AddIn(kAddIn);
            return g_result.read && main && main->IsConnected() && !ResultRecord::Exists(installation) &&
                   !IsReadyFilePresent(installation);
        },
        60000);
    standin::ComAddInObject::SetConnectingObserver(nullptr);
    const std::string after = InstalledVersions(folder);
    WriteText(OutFile(L"versions-after.txt"), after);
    auto kernel = [](const std::string& versions) {
        const size_t at = versions.find("\nKernel ");
        return at == std::string::npos ? std::string("?") : versions.substr(at + 8, versions.find(' ', at + 8) - at - 8);
    };
    const std::string offered = DemoUpdateService::OfferedVersion();
    if (!ErrorBoxes().empty())
        result.failure = "the add-in reported: " + ErrorBoxes();
    else if (!g_result.read)
        result.failure = "the update add-in left no result.dat for the add-in";
    else if (g_result.code != 0)
        result.failure = "the update failed with code " + std::to_string(g_result.code) + ": " +
                         Narrow(std::wstring(g_result.message.GetText()));
    else if (!installed)
        result.failure = "the add-in did not come back connected after the update";
    else if (kernel(after) != offered)
        result.failure = "the kernel is at version " + kernel(after) + " after the update, not " + offered;
    else if (!Contains(m_clr.Log(), L"Domain.Loaded(Vistello.Kernel, Version=" + Wide(offered) +
                                        L".0.0, Culture=neutral, PublicKeyToken=null)"))
        result.failure = "the updated plug-in kernel was not loaded after the update";
    else
        result.summary = "the check downloaded version " + std::string(DemoUpdateService::OfferedVersion()) +
                         " (ready.dat); at PowerPoint's next start the update add-in installed it: Kernel " +
                         kernel(before) + " -> " + kernel(after) + " (versions-before.txt, versions-after.txt), " +
                         "result.dat code 0, the add-in connected again and loaded the new kernel";
    return result;
}

DemoStepResult DemoOfficeSession::ShutDown()
{
    DemoStepResult result;
    if (!m_host)
        return result;
    m_host->Shutdown();
    m_host.reset();
    if (!Contains(m_clr.Log(), L"Runtime.Stop"))
        result.failure = "the .NET runtime was not stopped at shut-down";
    else if (!ErrorBoxes().empty())
        result.failure = "the add-in reported: " + ErrorBoxes();
    else
        result.summary = "the add-ins disconnected and PowerPoint closed";
    return result;
}

void DemoOfficeSession::WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    PumpUntil([&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeoutMs);
}
