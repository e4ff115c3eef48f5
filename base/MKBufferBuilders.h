#pragma once
#include "base/MKTArray.h"

#include <stdarg.h>

class MKTextBuffer;

// Appending formatted text, raw characters and UTF-8 to growable arrays. Each
// answers false, leaving the array as it was, when memory runs out.

// printf-style formatting (MKFormatEngine) appended to the text; results under
// 256 characters are formatted on the stack. The arguments may point into the
// buffer.
bool MKTextBufferAppendFormat(MKTextBuffer& buffer, const wchar_t* format, ...);
bool MKTextBufferAppendFormatV(MKTextBuffer& buffer, const wchar_t* format, va_list args);

// Keeps the array zero-terminated: the n bytes replace a non-empty array's
// last (terminating) byte and a zero follows them; nothing for n < 1. The bytes
// may lie inside the array.
bool MKByteArrayAppendChars(MKByteArray& array, const char* bytes, int n);
// The UTF-8 form of count wide characters, appended as by MKByteArrayAppendChars.
bool MKByteArrayAppendUtf8(MKByteArray& array, const wchar_t* text, int count);
