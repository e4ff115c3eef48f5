#include "addin/effects/PaneSubclassRegistry.h"

#include "addin/effects/PaneSubclassRecord.h"
#include "addin/effects/SlideShowHost.h"

#include <new>

namespace {

PaneSubclassRegistry* s_instance = nullptr;

}  // namespace

PaneSubclassRegistry* PaneSubclassRegistry::Get()
{
    return s_instance;
}

void PaneSubclassRegistry::CreateInstance()
{
    if (!s_instance)
        s_instance = new (std::nothrow) PaneSubclassRegistry;
}

void PaneSubclassRegistry::DestroyInstance()
{
    delete s_instance;
    s_instance = nullptr;
}

PaneSubclassRegistry::~PaneSubclassRegistry()
{
    for (int i = 0; i < m_records.GetCount(); ++i)
        delete m_records[i];
    m_records.RemoveAll();
    m_callDepth = 0;
    DeleteRetired();
    m_main.Detach();
}

PaneSubclassRegistry::CallScope::CallScope()
{
    if (s_instance)
        ++s_instance->m_callDepth;
}

PaneSubclassRegistry::CallScope::~CallScope()
{
    if (s_instance && --s_instance->m_callDepth == 0)
        s_instance->DeleteRetired();
}

PaneSubclassRecord* PaneSubclassRegistry::Add(SlideShowSession* session, HWND pane, HWND showWindow,
                                              SlideShowHost* host)
{
    auto* record = new (std::nothrow) PaneSubclassRecord(session);
    if (!record || !m_records.Add(record)) {
        delete record;
        return nullptr;
    }
    if (!record->Attach(pane, showWindow)) {
        Remove(session);
        return nullptr;
    }
    HWND main = nullptr;
    if (!m_main.Window() && host && SUCCEEDED(host->GetMainWindow(&main)))
        m_main.Attach(main);
    return record;
}

void PaneSubclassRegistry::Remove(SlideShowSession* session)
{
    for (int i = 0; i < m_records.GetCount(); ++i) {
        PaneSubclassRecord* record = m_records[i];
        if (record->GetSession() != session)
            continue;
        m_records.RemoveAt(i);
        // Detaching restores both procedures (or leaves ours as a pass-through
        // under a later one).
        record->Detach();
        if (!m_callDepth || !m_retired.Add(record))
            delete record;
        break;
    }
    ReleaseMainWhenIdle();
}

void PaneSubclassRegistry::ReleaseMainWhenIdle()
{
    if (m_records.IsEmpty())
        m_main.Detach();
}

void PaneSubclassRegistry::DeleteRetired()
{
    for (int i = 0; i < m_retired.GetCount(); ++i)
        delete m_retired[i];
    m_retired.RemoveAll();
}
