#pragma once
#include "base/MKString.h"

class MKRecentFileList;

// The player's document: nothing but the path of one movie. The recent-file
// list is not owned and must outlive the document.
class CDravoPlayerDoc {
public:
    explicit CDravoPlayerDoc(MKRecentFileList* recentFiles) : m_recentFiles(recentFiles) {}

    const MKString& GetPathName() const { return m_path; }
    bool HasMovie() const { return !m_path.IsEmpty(); }

    // Forgets the movie.
    void OnNewDocument() { m_path.Clear(); }
    // True when the file opens for reading; otherwise a message box with the
    // path, and the previous document stays.
    bool OnOpenDocument(const char* path);
    // A movie that is deleted at exit never enters the recent-file list.
    void SetPathName(const char* path, bool addToRecentList, bool deleteMovieAtExit);

private:
    MKRecentFileList* m_recentFiles;
    MKString m_path;
};
