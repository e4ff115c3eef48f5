#include "base/MKSystemException.h"

#include <string.h>

namespace {

const wchar_t* KnownText(unsigned code)
{
    switch (code) {
#define MK_TEXT_CASE(value, name, text) \
    case value:                         \
        return text;
        MK_SYSTEM_EXCEPTION_CODES(MK_TEXT_CASE)
#undef MK_TEXT_CASE
    }
    return nullptr;
}

}  // namespace

MKSystemException::MKSystemException(unsigned code, const EXCEPTION_POINTERS* pointers)
    : m_code(code), m_pointers(pointers)
{
    if (pointers && pointers->ContextRecord)
        memcpy(&m_context, pointers->ContextRecord, sizeof(m_context));
    else
        memset(&m_context, 0, sizeof(m_context));
    static const wchar_t digits[] = L"0123456789abcdef";
    m_text[0] = L'0';
    m_text[1] = L'x';
    for (int i = 0; i < 8; ++i)
        m_text[2 + i] = digits[(code >> (28 - 4 * i)) & 0xF];
    m_text[10] = 0;
}

const wchar_t* MKSystemException::Description() const
{
    const wchar_t* known = KnownText(m_code);
    return known ? known : m_text;
}

void MKSehTranslator(unsigned code, const EXCEPTION_POINTERS* pointers)
{
    using namespace MKSystemExceptions;
    switch (code) {
#define MK_THROW_CASE(value, name, text) \
    case value:                          \
        throw name(code, pointers);
        MK_SYSTEM_EXCEPTION_CODES(MK_THROW_CASE)
#undef MK_THROW_CASE
    }
    throw UnknownSystemException(code, pointers);
}
