#pragma once
#include <functional>
#include <string>
#include <vector>

// Points the stand-in controls' call log (VISTELLO_CONTROL_LOG) at a fresh
// file of its own for the life of the object and reads it back. The
// environment variable is the process's: controls created in this process
// log here.
class ControlLogFile {
public:
    ControlLogFile();
    ~ControlLogFile();
    ControlLogFile(const ControlLogFile&) = delete;
    ControlLogFile& operator=(const ControlLogFile&) = delete;

    // Every line, in order; without lines containing any of `omit` (e.g.
    // "IViewObject.Draw", whose count depends on how often windows repaint).
    std::vector<std::wstring> Lines(const std::vector<std::wstring>& omit = {}) const;
    // Whether a line contains `text`.
    bool Contains(const std::wstring& text) const;
    void Clear() const;

private:
    std::wstring m_path;
};

// Writes `replacement` in place of `text` in the lines, matching `text` as
// the log quotes it (backslashes doubled): for paths that differ per run.
void ReplaceQuoted(std::vector<std::wstring>& lines, const std::wstring& text, const std::wstring& replacement);

// Pumps this thread's messages until `done` answers true or the time runs
// out; answers `done`'s last answer.
bool PumpUntil(const std::function<bool()>& done, unsigned milliseconds = 5000);
