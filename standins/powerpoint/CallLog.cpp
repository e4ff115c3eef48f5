#include "standins/powerpoint/CallLog.h"

namespace standin {

CallLog& CallLog::Get()
{
    static CallLog log;
    return log;
}

HRESULT CallLog::Enter(const std::wstring& call)
{
    Note(call);
    for (Rule& rule : m_rules) {
        if (rule.call != call)
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.times == 0)
            continue;
        if (rule.times > 0)
            --rule.times;
        return rule.failure;
    }
    return S_OK;
}

void CallLog::Note(const std::wstring& entry)
{
    if (m_recording)
        m_entries.push_back(entry);
}

std::vector<std::wstring> CallLog::EntriesStartingWith(const std::wstring& prefix) const
{
    std::vector<std::wstring> found;
    for (const std::wstring& entry : m_entries) {
        if (entry.compare(0, prefix.size(), prefix) == 0)
            found.push_back(entry);
    }
    return found;
}

void CallLog::Fail(const std::wstring& call, HRESULT failure, int skip, int times)
{
    m_rules.push_back({call, failure, skip, times});
}

}  // namespace standin
