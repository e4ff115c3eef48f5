#pragma once
#include "base/MKString.h"

class MKDocNode;
class MKTextBuffer;

// Pieces of the text form of typed text documents. Each appends to out and
// answers false when memory runs out (out then holds part of the text).

// A double-quoted string: backspace, tab, line feed, form feed, carriage
// return, '"' and '\' as \b \t \n \f \r \" \\, other units below 32 or above
// 126 as \uXXXX (upper-case digits), the rest as they are.
bool MKDocWriteQuoted(MKTextBuffer& out, const MKString& text);

// A dictionary name: as it is when it reads back as an identifier key,
// otherwise quoted (so any name survives a write and a parse).
bool MKDocWriteName(MKTextBuffer& out, const MKString& name);

// The "%g" text of the value; when that would not read back as the same double,
// more significant digits (up to 17) until it does.
bool MKDocWriteDouble(MKTextBuffer& out, double value);

// The node's whole text with no indent; empty when memory runs out.
MKString MKDocToText(const MKDocNode& node, bool typed);
