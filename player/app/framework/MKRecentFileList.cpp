#include "player/app/framework/MKRecentFileList.h"

#include "player/app/framework/MKProfile.h"

namespace {

const char kSection[] = "Recent File List";

}  // namespace

MKRecentFileList::MKRecentFileList(UINT firstCommand, int size)
    : m_first(firstCommand), m_size(size), m_paths(new MKString[size])
{
}

MKRecentFileList::~MKRecentFileList()
{
    delete[] m_paths;
}

void MKRecentFileList::Load()
{
    m_count = 0;
    for (int i = 0; i < m_size; ++i) {
        MKString path = MKProfile::GetString(kSection, MKString::FromFormat("File%d", i + 1).GetText(), "");
        if (!path.IsEmpty())
            m_paths[m_count++] = path;
    }
}

void MKRecentFileList::Save() const
{
    for (int i = 0; i < m_size; ++i) {
        MKString entry = MKString::FromFormat("File%d", i + 1);
        if (i < m_count) {
            MKProfile::WriteString(kSection, entry.GetText(), m_paths[i].GetText());
        } else {
            MKString path = MKProfile::KeyPath();
            path.AppendText("\\");
            path.AppendText(kSection);
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_CURRENT_USER, path.GetText(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, entry.GetText());
                RegCloseKey(key);
            }
        }
    }
}

void MKRecentFileList::Add(const char* path)
{
    if (!path || !*path)
        return;
    int found = m_count < m_size ? m_count : m_size - 1;
    for (int i = 0; i < m_count; ++i) {
        if (lstrcmpiA(m_paths[i].GetText(), path) == 0) {
            found = i;
            break;
        }
    }
    for (int i = found; i > 0; --i)
        m_paths[i] = m_paths[i - 1];
    m_paths[0] = path;
    if (found == m_count && m_count < m_size)
        ++m_count;
}

void MKRecentFileList::Remove(int index)
{
    if (index < 0 || index >= m_count)
        return;
    for (int i = index; i + 1 < m_count; ++i)
        m_paths[i] = m_paths[i + 1];
    m_paths[--m_count].Clear();
}

MKString MKRecentFileList::PathOf(UINT command) const
{
    if (command < m_first || command >= m_first + UINT(m_count))
        return MKString();
    return m_paths[command - m_first];
}

void MKRecentFileList::UpdateMenu(HMENU popup, const char* emptyText) const
{
    int position = -1;
    int items = GetMenuItemCount(popup);
    for (int i = 0; i < items; ++i) {
        UINT id = GetMenuItemID(popup, i);
        if (id >= m_first && id < m_first + UINT(m_size)) {
            position = i;
            break;
        }
    }
    if (position < 0)
        return;
    for (int i = 0; i < m_size; ++i)
        DeleteMenu(popup, m_first + i, MF_BYCOMMAND);
    if (m_count == 0) {
        InsertMenuA(popup, position, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_first, emptyText);
        return;
    }
    for (int i = 0; i < m_count; ++i) {
        MKString text = MKString::FromFormat("&%d %s", i + 1, m_paths[i].GetText());
        InsertMenuA(popup, position + i, MF_BYPOSITION | MF_STRING, m_first + i, text.GetText());
    }
}
