#pragma once
#include "base/MKChar.h"

// Splits a text at any character of a separator set. Neither the text nor the
// separators are copied: both must outlive the tokenizer.
//
// Tokens are the runs between separators. An empty token at the very start is
// always returned, and a text that ends with a separator yields one final empty
// token; with skipEmpty, empty tokens between separators are dropped.
MK_TEXT_NAMESPACE_BEGIN

class MKStringTokenizer {
public:
    // A null text counts as empty; null or empty separators mean ";".
    MKStringTokenizer(const MKChar* text, const MKChar* separators = nullptr, bool skipEmpty = false);
    MKStringTokenizer(const MKStringTokenizer&) = delete;
    MKStringTokenizer& operator=(const MKStringTokenizer&) = delete;

    void Init(const MKChar* text, const MKChar* separators, bool skipEmpty);

    // The next token (not terminated) and its length, or null when the text is
    // used up.
    const MKChar* Next(int* length);

private:
    const MKChar* m_text;
    const MKChar* m_separators;
    bool m_skipEmpty;
    int m_length;
    int m_position;
};

MK_TEXT_NAMESPACE_END
