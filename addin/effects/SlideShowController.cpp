#include "addin/effects/SlideShowController.h"

#include "addin/effects/DeferredReportBox.h"
#include "addin/effects/EffectDataRecord.h"
#include "addin/effects/Plugin.h"
#include "addin/effects/SessionReport.h"
#include "addin/effects/SlideShowHost.h"
#include "addin/effects/SlideShowSession.h"
#include "base/MKRefHolder.h"

#include <new>

namespace {

const wchar_t kResourceLibrary[] = L"PPINTL.DLL";
const int kAcceleratorTable = 1292;
const unsigned kReportDelayMs = 50;

// COM identity: a failing QueryInterface is an error of the caller's event.
IUnknown* Identity(IUnknown* object)
{
    IUnknown* identity = nullptr;
    if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))))
        throw E_NOINTERFACE;
    identity->Release();
    return identity;
}

}  // namespace

SlideShowController::SlideShowController(SlideShowHost* host) : m_host(host)
{
    CopyAccelerators();
}

SlideShowController::~SlideShowController()
{
    DisposePendingBox();
    for (int i = 0; i < m_sessions.GetCount(); ++i) {
        SlideShowSession* session = m_sessions[i];
        m_sessions[i] = nullptr;
        if (!session)
            continue;
        if (!session->IsStopped())
            session->Stop();
        session->Release();
    }
    m_sessions.RemoveAll();
    for (int i = 0; i < m_reports.GetCount(); ++i)
        m_reports[i]->Release();
    m_reports.RemoveAll();
    for (int i = 0; i < m_finishedBoxes.GetCount(); ++i)
        delete m_finishedBoxes[i];
}

void SlideShowController::CopyAccelerators()
{
    HMODULE resources = GetModuleHandleW(kResourceLibrary);
    HACCEL table = resources ? ::LoadAcceleratorsW(resources, MAKEINTRESOURCEW(kAcceleratorTable)) : nullptr;
    if (!table)
        return;
    int count = CopyAcceleratorTableW(table, nullptr, 0);
    if (count > 0 && m_accelerators.SetSize(count)) {
        ZeroMemory(m_accelerators.GetData(), sizeof(ACCEL) * count);
        CopyAcceleratorTableW(table, m_accelerators.GetData(), count);
    }
    DestroyAcceleratorTable(table);
}

const SlideVisitLog* SlideShowController::FindVisitLog(PowerPoint::SlideShowWindow* window) const
{
    SlideShowSession* session = GetSession(FindSession(window));
    return session ? &session->GetVisitLog() : nullptr;
}

int SlideShowController::FindSession(PowerPoint::SlideShowWindow* window) const
{
    if (!window)
        return -1;
    IUnknown* wanted = Identity(window);
    for (int i = 0; i < m_sessions.GetCount(); ++i) {
        SlideShowSession* session = m_sessions[i];
        if (session && session->GetWindow() && Identity(session->GetWindow()) == wanted)
            return i;
    }
    return -1;
}

SlideShowSession* SlideShowController::FindOrCreateSession(PowerPoint::SlideShowWindow* window)
{
    int index = FindSession(window);
    if (index >= 0)
        return m_sessions[index];
    // A show started by a plug-in while it handles a forwarded application
    // event runs without content.
    if (m_host->GetEventDepth() > 0)
        return nullptr;
    auto* session = new (std::nothrow) SlideShowSession(this, window);
    if (!session)
        return nullptr;
    if (!m_sessions.Add(session)) {
        session->Release();
        return nullptr;
    }
    MKRefHolder<SessionReport> report;
    report.Attach(new (std::nothrow) SessionReport(session));
    if (session->Begin(report.Get()) && report) {
        for (int i = 0; i < m_reports.GetCount(); ++i) {
            if (m_reports[i]->SameKey(*report.Get())) {
                RemoveReportAt(i);
                break;
            }
        }
        if (m_reports.Add(report.Get()))
            report->AddRef();
    }
    return session;
}

void SlideShowController::RemoveReportAt(int index)
{
    SessionReport* report = m_reports[index];
    m_reports.RemoveAt(index);
    report->Release();
}

void SlideShowController::StopSession(SlideShowSession* session, bool dropReport)
{
    if (!session)
        return;
    if (dropReport) {
        for (int i = 0; i < m_reports.GetCount(); ++i) {
            if (m_reports[i]->GetSession() == session) {
                RemoveReportAt(i);
                break;
            }
        }
    }
    int index = m_sessions.IndexOf(session);
    if (index < 0)
        return;
    m_sessions.RemoveAt(index);
    if (!session->IsStopped())
        session->Stop();
    session->Release();
}

template <class Handler>
void SlideShowController::Route(PowerPoint::SlideShowWindow* window, Handler&& handler)
{
    int index = FindSession(window);
    if (index < 0)
        return;
    MKRefHolder<SlideShowSession> session;
    session.AssignPointer(m_sessions[index]);
    if (session->IsStopped())
        StopSession(session.Get(), false);
    else if (!session->IsSuspended())
        handler(session.Get());
}

void SlideShowController::OnSlideShowBegin(PowerPoint::SlideShowWindow* window)
{
    if (!window || !FindOrCreateSession(window))
        return;
    Route(window, [](SlideShowSession* session) { session->OnBegin(); });
}

void SlideShowController::OnNextBuild(PowerPoint::SlideShowWindow* window)
{
    Route(window, [](SlideShowSession* session) { session->OnNextBuild(); });
}

void SlideShowController::OnNextSlide(PowerPoint::SlideShowWindow* window)
{
    Route(window, [](SlideShowSession* session) { session->OnNextSlide(); });
}

void SlideShowController::OnNextClick(PowerPoint::SlideShowWindow* window, PowerPoint::Effect* effect)
{
    Route(window, [effect](SlideShowSession* session) { session->OnNextClick(effect); });
}

void SlideShowController::OnNext(PowerPoint::SlideShowWindow* window)
{
    Route(window, [](SlideShowSession* session) { session->OnNext(); });
}

void SlideShowController::OnPrevious(PowerPoint::SlideShowWindow* window)
{
    Route(window, [](SlideShowSession* session) { session->OnPrevious(); });
}

void SlideShowController::AttachShowWindow(PowerPoint::SlideShowWindow* window)
{
    if (window)
        FindOrCreateSession(window);
}

void SlideShowController::OnSlideShowEnd(PowerPoint::Presentation* presentation)
{
    for (int i = 0; i < m_reports.GetCount(); ++i) {
        if (!m_reports[i]->HasKey(presentation))
            continue;
        MKRefHolder<SessionReport> report;
        report.AssignPointer(m_reports[i]);
        RemoveReportAt(i);
        if (report->HasAnythingToShow()) {
            DisposePendingBox();
            if (m_host->StartedToShow()) {
                ShowReport(report.Get());
            } else {
                m_pendingBox = new (std::nothrow) DeferredReportBox(this, report.Get());
                if (m_pendingBox && !m_pendingBox->Start(kReportDelayMs))
                    DisposePendingBox();
            }
        }
        break;
    }
    for (int i = 0; i < m_sessions.GetCount(); ++i) {
        SlideShowSession* session = m_sessions[i];
        if (session && session->GetPresentation() && presentation &&
            Identity(session->GetPresentation()) == Identity(presentation)) {
            StopSession(session, false);
            break;
        }
    }
}

void SlideShowController::OnBoxDue(DeferredReportBox* box)
{
    if (box == m_pendingBox)
        ShowReport(box->GetReport());
}

void SlideShowController::ShowReport(SessionReport* report)
{
    MKRefHolder<SessionReport> held;
    held.AssignPointer(report);
    DisposePendingBox();
    if (!report)
        return;
    if (report->GetFatalKind() != SessionReport::kNoFatal)
        m_host->ShowError(L"Fatal Error", report->GetFatalMessage().GetText());
    else if (!report->GetWarnings().IsEmpty())
        m_host->ShowError(L"An error occurred during the Slide Show.", report->GetWarnings().GetText());
    if (EffectDataRecord* requester = report->GetExitRequester()) {
        if (Plugin* plugin = requester->GetPlugin())
            plugin->ReportTypeFailure(*requester);
    }
}

void SlideShowController::DisposePendingBox()
{
    for (int i = m_finishedBoxes.GetCount() - 1; i >= 0; --i) {
        if (!m_finishedBoxes[i]->IsTicking()) {
            delete m_finishedBoxes[i];
            m_finishedBoxes.RemoveAt(i);
        }
    }
    DeferredReportBox* box = m_pendingBox;
    m_pendingBox = nullptr;
    if (!box)
        return;
    box->Stop();
    if (!box->IsTicking() || !m_finishedBoxes.Add(box))
        delete box;
}

void SlideShowController::Shutdown()
{
    for (int i = m_sessions.GetCount() - 1; i >= 0; --i) {
        if (i >= m_sessions.GetCount())
            continue;
        SlideShowSession* entry = m_sessions[i];
        if (!entry) {
            m_sessions.RemoveAt(i);
            continue;
        }
        MKRefHolder<SlideShowSession> session;
        session.AssignPointer(entry);
        if (PowerPoint::SlideShowView* view = session->GetView())
            view->Exit();
        StopSession(session.Get(), false);
    }
    m_sessions.RemoveAll();
    DisposePendingBox();
}
