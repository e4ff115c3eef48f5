#pragma once
#include "base/MKDocErrorList.h"
#include "base/MKDocTokenizer.h"
#include "base/MKString.h"
#include "base/MKStringDictionary.h"
#include "base/MKTArray.h"

class MKDocNode;
class MKTextBuffer;

// Reads typed text documents: JSON, plus in extended mode identifiers as keys
// and values, "=" between key and value, // and /* */ comments, @"verbatim"
// strings, integer and hexadecimal tokens, L/F/D suffixes, and the typed
// literals Guid("..."), Version("...") and DateTime("y-m-d"). A comma before a
// closing bracket or brace is accepted. Every problem is recorded as a message
// and parsing goes on as far as it can; any message makes the parse fail.
// Containers and typed literals may nest 256 deep. One thread at a time; a
// parser may be reused.
class MKDocParser {
public:
    explicit MKDocParser(bool extended);
    MKDocParser(const MKDocParser&) = delete;
    MKDocParser& operator=(const MKDocParser&) = delete;

    static const int kMaxDepth = 256;

    // Names the text in messages; empty means "input".
    void SetSourceName(const MKString& name) { m_errors.SetSourceName(name); }
    // Defines $name for strings of extended documents, where "$$" stands for
    // "$". Once a variable is defined, an undefined name or a lone "$" is an
    // error; before that they stay as they are. False when memory runs out.
    bool SetVariable(const MKString& name, const MKString& value) { return m_variables.Set(name, value); }

    // Parses zero-terminated UTF-8 text up to the end of its first value.
    // Answers that value (the caller deletes it), or null when any message was
    // recorded.
    MKDocNode* ParseDocument(const char* text);
    // The messages of the last parse, "source(line) : message".
    const MKTOArray<MKString>& GetErrors() const { return m_errors.GetMessages(); }

private:
    const MKDocToken& Current() const { return m_tokens[m_index]; }
    int CurrentKind() const { return m_tokens[m_index].kind; }
    // Moves past the current token (never past the end token).
    void Advance();
    // Consumes a token of that kind, or reports it missing (on the line of the
    // token consumed last) and consumes nothing.
    bool Expect(int kind);
    void Report(int line, const MKString& message) { m_errors.Add(line, message); }
    // The node, or null after reporting that memory ran out.
    MKDocNode* Made(MKDocNode* node);

    MKDocNode* ParseValue();
    MKDocNode* ParseDictionary();
    MKDocNode* ParseArray();
    MKDocNode* ParseFloat();
    MKDocNode* ParseInteger(bool hex);
    // Guid("..."), Version("...") or DateTime("y-m-d"), at the identifier.
    MKDocNode* ParseTypedLiteral(int kind);
    MKDocNode* MakeGuid(const MKString& text, int line);
    MKDocNode* MakeVersion(const MKString& text, int line);
    MKDocNode* MakeDateTime(const MKString& text, int line);
    // The text of a string or verbatim string token, escapes and variables
    // resolved.
    MKString DecodeString(const MKDocToken& token);
    // Whether a "$" at chars[i] was handled (appended to out, i moved on).
    bool SubstituteVariable(const MKString& raw, int& i, int line, MKTextBuffer& out);

    bool m_extended;
    MKStringDictionary m_variables;
    MKDocErrorList m_errors;
    MKTArray<MKDocToken> m_tokens;
    int m_index = 0;
    int m_lastLine = 1;
    int m_depth = 0;
    bool m_abandoned = false;  // nesting too deep: the rest is skipped silently
};
