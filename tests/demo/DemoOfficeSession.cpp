#include "DemoOfficeSession.h"

#include "DemoPresentation.h"
#include "DemoShow.h"
#include "TrampolineVerb.h"

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
    m_host = std::make_unique<PowerPointHost>(L"14.0");
    ShowWindow(m_host->App().MainWindow(), SW_SHOWNORMAL);
    m_presentation = AddDemoPresentation(m_host->App());
    m_host->Start();
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
    std::map<std::string, int> shares;
    auto shown = [&](int slide, const ShowPicture& picture) {
        const std::string name = "show-" + std::to_string(slide) + ".png";
        if (picture.SavePng(OutFile(std::wstring(name.begin(), name.end()).c_str())))
            saved.push_back(name);
        if (slide == kDemoContentSlide) {
            for (const DemoContent& effect : kDemoContent)
                shares[effect.what] = int(100 * ShareOfColour(picture, effect.left, effect.top, effect.width,
                                                              effect.height, effect.colour));
        }
    };
    auto during = [&](int slide, standin::SlideShowWindowObject* show) {
        if (slide == kDemoContentSlide)
            verbFailure = FireTrampolineVerb(show->Pane(), verb);
    };
    std::string failure = DemoShow::Run(m_presentation, ShowsDemoSlide, 30000, shown, during);
    std::string content;
    for (const auto& [what, share] : shares)
        content += (content.empty() ? "" : ", ") + what + " " + std::to_string(share) + "%";
    if (!failure.empty())
        result.failure = failure;
    else if (!ErrorBoxes().empty())
        result.failure = "the add-in reported: " + ErrorBoxes();
    else if (!verbFailure.empty())
        result.failure = verbFailure;
    else if (saved.size() != kDemoSlideCount)
        result.failure = "the show's pictures could not all be saved";
    else
        result.summary = std::to_string(saved.size()) + " slides shown (show-1.png...), content in its colour over " +
                         "its shapes (" + content + "); the trampoline's verb " + std::to_string(verb) +
                         " reached the show's session window; the show ended and its session stopped";
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
