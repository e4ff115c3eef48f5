#include "addin/update/FileRenameList.h"
#include "addin/update/FileCalls.h"
#include "base/MKPointerArrays.h"
#include <windows.h>

FileRenameList::~FileRenameList()
{
    Clear();
}

bool FileRenameList::Add(const MKString& first, const MKString& second)
{
    RenamePair* pair = new RenamePair;
    pair->first = first;
    pair->second = second;
    if (!m_pairs.Add(pair)) {
        delete pair;
        return false;
    }
    return true;
}

void FileRenameList::Clear()
{
    MKDeleteAllItems(m_pairs);
}

bool FileRenameList::Apply(bool forward, bool deferred)
{
    m_undoFailures = 0;
    const FileCalls& calls = GetFileCalls();
    DWORD flags = deferred ? MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT : 0;
    int count = m_pairs.GetCount();
    for (int step = 0; step < count; ++step) {
        const RenamePair& pair = *m_pairs[forward ? step : count - 1 - step];
        if (pair.skip)
            continue;
        const MKString& from = forward ? pair.first : pair.second;
        const MKString& to = forward ? pair.second : pair.first;
        if (calls.moveFileEx(from.GetText(), to.GetText(), flags))
            continue;
        if (deferred)
            return false;
        for (int back = step - 1; back >= 0; --back) {
            const RenamePair& done = *m_pairs[forward ? back : count - 1 - back];
            if (done.skip)
                continue;
            const MKString& movedTo = forward ? done.second : done.first;
            const MKString& movedFrom = forward ? done.first : done.second;
            if (!calls.moveFileEx(movedTo.GetText(), movedFrom.GetText(), 0))
                ++m_undoFailures;
        }
        return false;
    }
    return true;
}

int FileRenameList::MoveAllBack()
{
    int failures = 0;
    for (int i = m_pairs.GetCount() - 1; i >= 0; --i) {
        const RenamePair& pair = *m_pairs[i];
        if (!pair.skip && !GetFileCalls().moveFileEx(pair.second.GetText(), pair.first.GetText(), 0))
            ++failures;
    }
    return failures;
}

bool FileRenameList::CanOpenAll(bool firstSide, MKString* failing) const
{
    for (int i = 0; i < m_pairs.GetCount(); ++i) {
        const RenamePair& pair = *m_pairs[i];
        if (pair.skip)
            continue;
        const MKString& path = firstSide ? pair.first : pair.second;
        HANDLE file =
            CreateFileW(path.GetText(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            continue;
        }
        DWORD error = GetLastError();
        if (!firstSide && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND))
            continue;
        if (failing)
            *failing = path;
        return false;
    }
    return true;
}
