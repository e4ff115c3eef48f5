#pragma once
#include "base/MKTArray.h"

#include <stdint.h>

class MKDocErrorList;

enum MKDocTokenKind {
    MKDocTokenEnd = -1,
    MKDocTokenComma = 1,
    MKDocTokenColon = 2,
    MKDocTokenOpenBracket = 3,
    MKDocTokenCloseBracket = 4,
    MKDocTokenOpenBrace = 5,
    MKDocTokenCloseBrace = 6,
    MKDocTokenFloat = 7,
    MKDocTokenString = 8,
    MKDocTokenTrue = 9,
    MKDocTokenFalse = 10,
    MKDocTokenNull = 11,
    MKDocTokenLineComment = 12,
    MKDocTokenBlockComment = 13,
    MKDocTokenEquals = 14,
    MKDocTokenInteger = 15,
    MKDocTokenHex = 16,
    MKDocTokenVerbatim = 17,
    MKDocTokenIdentifier = 18,
    MKDocTokenOpenParen = 19,
    MKDocTokenCloseParen = 20
};

// One token of a typed text document. Lines and columns count from 1 (columns
// in bytes); the end is the position after the token. text and length cover
// the token's bytes, for strings only those between the quotes.
struct MKDocToken {
    int32_t kind;
    int32_t line;
    int32_t column;
    int32_t endLine;
    int32_t endColumn;
    const char* text;
    int32_t length;
};

// Splits zero-terminated UTF-8 text into tokens (comments dropped) and appends
// an end token. extended enables identifiers, "=", verbatim strings, comments,
// integer and hexadecimal tokens and number suffixes. Problems are reported to
// errors and skipped. The tokens point into text, which must outlive them.
// False when memory runs out.
bool MKDocTokenize(const char* text, bool extended, MKTArray<MKDocToken>& tokens, MKDocErrorList& errors);
