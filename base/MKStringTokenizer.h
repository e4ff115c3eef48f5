#pragma once

// Splits a text at any character of a separator set. Neither the text nor the
// separators are copied: both must outlive the tokenizer.
//
// Tokens are the runs between separators. An empty token at the very start is
// always returned, and a text that ends with a separator yields one final empty
// token; with skipEmpty, empty tokens between separators are dropped.
class MKStringTokenizer {
public:
    // A null text counts as empty; null or empty separators mean ";".
    MKStringTokenizer(const wchar_t* text, const wchar_t* separators = nullptr, bool skipEmpty = false);
    MKStringTokenizer(const MKStringTokenizer&) = delete;
    MKStringTokenizer& operator=(const MKStringTokenizer&) = delete;

    void Init(const wchar_t* text, const wchar_t* separators, bool skipEmpty);

    // The next token (not terminated) and its length, or null when the text is
    // used up.
    const wchar_t* Next(int* length);

private:
    const wchar_t* m_text;
    const wchar_t* m_separators;
    bool m_skipEmpty;
    int m_length;
    int m_position;
};
