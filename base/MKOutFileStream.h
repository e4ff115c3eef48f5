#pragma once
#include "base/MKOutStream.h"

#include <stdio.h>

// Output stream into a run-time library FILE. A FILE handed to the constructor
// is borrowed and never closed here; one opened by Open is owned and closed by
// Close and the destructor. Failures store minus errno (open, flush, close) or
// minus the FILE's error indicator (short writes).
class MKOutFileStream : public MKOutStream {
public:
    explicit MKOutFileStream(FILE* file = nullptr) : m_file(file) {}
    ~MKOutFileStream() override;

    // Close, then creates or truncates the file for binary writing; false, with
    // the error stored, when it cannot be opened.
    bool Open(const wchar_t* path);

    // Sets the count of bytes written to 0.
    bool Reset() override;
    bool Flush() override;
    // Closes an owned FILE (a failure is stored and answers false) and forgets
    // any FILE.
    bool Close() override;
    bool Write(const void* data, int n) override;
    int GetCount() override { return m_written; }

private:
    FILE* m_file;
    bool m_owned = false;
    int m_written = 0;
};
