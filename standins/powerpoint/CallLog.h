#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace standin {

// Process-wide record of the calls made on stand-in objects, named
// "<Type>.<member>" (for example "Shape.get_Left"), and of the events raised
// ("Event.2011"); plus the failures a test injects. Recording is off until a
// test turns it on. Used on the user-interface thread only.
class CallLog {
public:
    static CallLog& Get();

    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    // Records the call (when recording) and answers the failure injected for
    // it, or S_OK.
    HRESULT Enter(const std::wstring& call);
    void Note(const std::wstring& entry);

    void SetRecording(bool on) { m_recording = on; }
    const std::vector<std::wstring>& Entries() const { return m_entries; }
    // The recorded entries that begin with the prefix, in order.
    std::vector<std::wstring> EntriesStartingWith(const std::wstring& prefix) const;
    void Clear() { m_entries.clear(); }

    // Makes "<Type>.<member>" answer the failure: the first `skip` calls pass,
    // then `times` calls fail (-1: every later call).
    void Fail(const std::wstring& call, HRESULT failure, int skip = 0, int times = -1);
    void ClearFailures() { m_rules.clear(); }

private:
    CallLog() = default;

    struct Rule {
        std::wstring call;
        HRESULT failure;
        int skip;
        int times;
    };
    bool m_recording = false;
    std::vector<std::wstring> m_entries;
    std::vector<Rule> m_rules;
};

}  // namespace standin
