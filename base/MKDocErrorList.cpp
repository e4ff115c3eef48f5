#include "base/MKDocErrorList.h"

void MKDocErrorList::Add(int line, const MKString& message)
{
    const wchar_t* source = m_sourceName.IsEmpty() ? L"input" : m_sourceName.GetText();
    MKString text;
    if (line > 0)
        text.Format(L"%s(%d) : %s", source, line, message.GetText());
    else
        text.Format(L"%s : %s", source, message.GetText());
    // An empty text means memory ran out; the entry still marks the failure.
    m_messages.Add(text);
}
