#include "base/MKCommandLine.h"

#include "base/MKAsciiCase.h"
#include "base/MKPointerArrays.h"

#include <new>
#include <wchar.h>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsQuoted(const MKString& text)
{
    int n = text.GetLength();
    return n >= 2 && text[0] == L'"' && text[n - 1] == L'"';
}

}  // namespace

MKCommandLine::~MKCommandLine()
{
    DeleteItems();
}

void MKCommandLine::DeleteItems()
{
    MKDeleteAllItems(m_items);
}

bool MKCommandLine::Parse(const wchar_t* text)
{
    if (!text || !*text)
        text = L"error.exe";
    m_arguments.RemoveAll();
    m_argumentText.Clear();
    m_parsed = true;
    const wchar_t* p = text;
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        if (m_arguments.GetCount() == 1) {
            m_argumentText.AssignText(p);
            m_argumentText.TrimRight();
            m_argumentText.TrimLeft();
        }
        const wchar_t* start = p;
        bool quoted = false;
        for (; *p && (quoted || !IsBlank(*p)); ++p) {
            if (*p == L'"')
                quoted = !quoted;
        }
        int n = int(p - start);
        if (n >= 2 && start[0] == L'"' && start[n - 1] == L'"') {
            ++start;
            n -= 2;
        }
        if (!m_arguments.Add(MKString::MKStringFromChars(start, n)))
            return false;
    }
    return Classify();
}

bool MKCommandLine::AddItem(int index, const MKString& text, bool isOption, bool isLong)
{
    MKCommandLineItem* item = new (std::nothrow) MKCommandLineItem{index, text, isOption, isLong};
    if (item && m_items.Add(item))
        return true;
    delete item;
    return false;
}

bool MKCommandLine::Classify()
{
    DeleteItems();
    m_cursor = 1;
    bool valuesOnly = false;
    for (int i = 0; i < m_arguments.GetCount(); ++i) {
        const MKString& argument = m_arguments[i];
        int n = argument.GetLength();
        wchar_t first = n > 0 ? argument[0] : 0;
        if (!valuesOnly && i > 0 && optionsEnabled && argument.EqualsText(L"--")) {
            valuesOnly = true;
            continue;
        }
        bool isOption = i > 0 && !valuesOnly && n >= 2 &&
                        ((optionsEnabled && first == L'-') || (slashOptions && first == L'/'));
        bool ok;
        if (!isOption) {
            // The program name is never an option.
            ok = AddItem(i, (unquoteValues && IsQuoted(argument)) ? argument.Substring(1, n - 2) : argument,
                         false, false);
        } else if (optionsEnabled && first == L'-' && argument[1] == L'-') {
            ok = AddItem(i, argument.Mid(2), true, true);
        } else if (letterGroups) {
            ok = true;
            for (int k = 1; k < n && ok; ++k)
                ok = AddItem(i, MKString::MKStringFromChars(argument.GetText() + k, 1), true, false);
        } else {
            ok = AddItem(i, argument.Mid(1), true, false);
        }
        if (!ok)
            return false;
    }
    return true;
}

int MKCommandLine::FindOption(const wchar_t* name, bool ignoreCase) const
{
    if (!name)
        return -1;
    int length = int(wcslen(name));
    for (int i = 1; i < m_items.GetCount(); ++i) {
        const MKCommandLineItem* item = m_items[i];
        if (!item->isOption || item->text.GetLength() != length)
            continue;
        if (ignoreCase ? MKAsciiCompareNoCase(item->text.GetText(), name, length) == 0 : item->text.EqualsText(name))
            return i;
    }
    return -1;
}

bool MKCommandLine::SelectOption(const wchar_t* name, bool ignoreCase)
{
    int found = FindOption(name, ignoreCase);
    if (found < 0)
        return false;
    m_cursor = found + 1;
    return true;
}

bool MKCommandLine::NextValue(MKString& text, int* index)
{
    text.Clear();
    if (index)
        *index = -1;
    if (m_cursor >= m_items.GetCount() || m_items[m_cursor]->isOption)
        return false;
    MKCommandLineItem* item = m_items[m_cursor];
    text = item->text;
    if (index)
        *index = item->index;
    if (removeTakenValues) {
        m_items.RemoveAt(m_cursor);
        delete item;
    } else {
        ++m_cursor;
    }
    return true;
}
