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
    : code_(code), pointers_(pointers)
{
    if (pointers && pointers->ContextRecord)
        memcpy(&context_, pointers->ContextRecord, sizeof(context_));
    else
        memset(&context_, 0, sizeof(context_));
    static const wchar_t digits[] = L"0123456789abcdef";
    text_[0] = L'0';
    text_[1] = L'x';
    for (int i = 0; i < 8; ++i)
        text_[2 + i] = digits[(code >> (28 - 4 * i)) & 0xF];
    text_[10] = 0;
}

const wchar_t* MKSystemException::Description() const
{
    const wchar_t* known = KnownText(code_);
    return known ? known : text_;
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
