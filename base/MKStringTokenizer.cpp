#include "base/MKStringTokenizer.h"

#include <wchar.h>

MKStringTokenizer::MKStringTokenizer(const wchar_t* text, const wchar_t* separators, bool skipEmpty)
{
    Init(text, separators, skipEmpty);
}

void MKStringTokenizer::Init(const wchar_t* text, const wchar_t* separators, bool skipEmpty)
{
    m_text = text ? text : L"";
    m_separators = (separators && *separators) ? separators : L";";
    m_skipEmpty = skipEmpty;
    m_length = int(wcslen(m_text));
    m_position = 0;
}

const wchar_t* MKStringTokenizer::Next(int* length)
{
    *length = 0;
    for (;;) {
        if (m_position > m_length || (m_position == m_length && m_length == 0))
            return nullptr;
        if (m_position == m_length) {
            // The text ended with a separator: one last empty token.
            ++m_position;
            return m_text + m_length;
        }
        int n = int(wcscspn(m_text + m_position, m_separators));
        if (n == 0 && m_position > 0 && m_skipEmpty) {
            ++m_position;
            continue;
        }
        const wchar_t* token = m_text + m_position;
        *length = n;
        m_position += n + 1;
        return token;
    }
}
