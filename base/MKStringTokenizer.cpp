#include "base/MKStringTokenizer.h"

#include <wchar.h>

MK_TEXT_NAMESPACE_BEGIN

MKStringTokenizer::MKStringTokenizer(const MKChar* text, const MKChar* separators, bool skipEmpty)
{
    Init(text, separators, skipEmpty);
}

void MKStringTokenizer::Init(const MKChar* text, const MKChar* separators, bool skipEmpty)
{
    m_text = text ? text : MKT("");
    m_separators = (separators && *separators) ? separators : MKT(";");
    m_skipEmpty = skipEmpty;
    m_length = int(MKCharLength(m_text));
    m_position = 0;
}

const MKChar* MKStringTokenizer::Next(int* length)
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
        int n = int(MKCharSpan(m_text + m_position, m_separators));
        if (n == 0 && m_position > 0 && m_skipEmpty) {
            ++m_position;
            continue;
        }
        const MKChar* token = m_text + m_position;
        *length = n;
        m_position += n + 1;
        return token;
    }
}

MK_TEXT_NAMESPACE_END
