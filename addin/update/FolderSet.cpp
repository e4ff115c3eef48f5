#include "addin/update/FolderSet.h"
#include "addin/update/FileCalls.h"
#include "addin/update/FileOperations.h"
#include "base/MKPath.h"
#include "base/MKTArray.h"
#include <algorithm>
#include <wchar.h>
#include <windows.h>

namespace {

bool ComesBefore(const MKString& a, const MKString& b)
{
    if (a.GetLength() != b.GetLength())
        return a.GetLength() < b.GetLength();
    return _wcsicmp(a.GetText(), b.GetText()) < 0;
}

} // namespace

bool FolderSet::Add(const MKString& path)
{
    return m_paths.Add(MKPathFull(path));
}

void FolderSet::AddPath(const MKString& root, const MKString& relative)
{
    if (relative.IsEmpty())
        return;
    bool canonical = false;
    MKString path = MKPathCanonicalize(root, &canonical);
    if (!canonical)
        return;
    MKString parts = relative;
    parts.ReplaceChar(L'/', L'\\');
    MKTOArray<MKString> components;
    parts.Split(L"\\", true, components);
    for (int i = 0; i < components.GetCount(); ++i) {
        if (components[i].EqualsText(L"."))
            continue;
        path = MKPathCombine(path, components[i]);
        Add(path);
    }
}

void FolderSet::Normalize()
{
    MKString* begin = m_paths.GetData();
    int count = m_paths.GetCount();
    if (count < 2)
        return;
    std::stable_sort(begin, begin + count, ComesBefore);
    MKTOArray<MKString> unique;
    for (int i = 0; i < count; ++i) {
        if (i == 0 || !begin[i].Equals(begin[i - 1]))
            unique.Add(begin[i]);
    }
    m_paths.Resize(unique.GetCount());
    for (int i = 0; i < unique.GetCount(); ++i)
        m_paths[i] = unique[i];
}

bool FolderSet::Apply(const MKSharedSecurity* security, bool deferred)
{
    if (m_paths.IsEmpty())
        return true;
    Normalize();
    if (m_create) {
        // Only folders this call made are taken away again: one that existed
        // may be someone else's.
        MKTArray<int> created;
        for (int i = 0; i < m_paths.GetCount(); ++i) {
            DWORD error = CreateDirectoryWithSecurity(m_paths[i], security);
            if (error == 0 && created.Add(i))
                continue;
            if (error == ERROR_ALREADY_EXISTS)
                continue;
            for (int back = created.GetCount() - 1; back >= 0; --back)
                RemoveDirectoryW(m_paths[created[back]].GetText());
            return false;
        }
        return true;
    }
    int failures = 0;
    for (int i = m_paths.GetCount() - 1; i >= 0; --i) {
        const wchar_t* path = m_paths[i].GetText();
        BOOL done = deferred ? GetFileCalls().moveFileEx(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)
                             : RemoveDirectoryW(path);
        DWORD error = done ? 0 : GetLastError();
        if (error != 0 && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND &&
            error != ERROR_DIR_NOT_EMPTY)
            ++failures;
    }
    return failures == 0;
}

bool FolderSet::CreateAll(const MKSharedSecurity* security)
{
    m_create = true;
    bool created = Apply(security, false);
    m_create = false;
    return created;
}
