#pragma once
#include "base/MKInStream.h"

#include <stdio.h>

// Input stream over a run-time library FILE. A FILE handed to the constructor is
// borrowed and never closed here; one opened by Open is owned and closed by
// Close and the destructor. The size is not known (GetSize answers 0).
class MKInFileStream : public MKInStream {
public:
    explicit MKInFileStream(FILE* file = nullptr) : m_file(file) {}
    ~MKInFileStream() override;

    // Close, then opens the file for binary reading; false when it cannot be
    // opened.
    bool Open(const wchar_t* path);

    // Closes an owned FILE (false when that fails) and forgets any FILE.
    bool Close() override;
    int Read(void* buffer, int n) override;
    // Moves forward by up to n bytes, never past the end of the file.
    int Skip(int n) override;
    int Tell() override { return m_delivered; }
    bool Seek(int position) override;
    bool CanSeek() override { return true; }
    // The file position.
    int GetPosition() override;
    int GetSize() override { return 0; }
    // One line through fgets (the '\n' kept); null at the end or on failure,
    // which stores MKStreamErrorEnd.
    char* ReadLine(char* buffer, int n) override;

private:
    FILE* m_file;
    bool m_owned = false;
    int m_delivered = 0;
};
