#pragma once
#include <windows.h>

#include <map>
#include <utility>

namespace standin {

// Counts every message that reaches the own procedures of PowerPoint's main
// window, its show windows and their panes, per window, so tests see what
// got past a subclasser. Process-wide; the thread of the windows only.
class WindowMessageLog {
public:
    static WindowMessageLog& Get();

    void Note(HWND window, UINT message) { ++m_counts[{window, message}]; }
    int Count(HWND window, UINT message) const
    {
        auto found = m_counts.find({window, message});
        return found == m_counts.end() ? 0 : found->second;
    }
    void Clear() { m_counts.clear(); }

private:
    std::map<std::pair<HWND, UINT>, int> m_counts;
};

}  // namespace standin
