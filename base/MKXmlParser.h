#pragma once
#include "base/MKString.h"
#include "base/MKTArray.h"

class MKXmlNode;

// Builds an MKXmlNode tree from an XML text with expat. Every delivery of
// character data becomes a text node of its own, white space between elements
// included. One thread at a time; a parser may be reused.
class MKXmlParser {
public:
    MKXmlParser() = default;
    MKXmlParser(const MKXmlParser&) = delete;
    MKXmlParser& operator=(const MKXmlParser&) = delete;

    // Parses length bytes in the named encoding (expat's names, e.g. "UTF-8").
    // Answers the document element with one reference for the caller, or null
    // with GetErrorText set: "line L, col C: message" for malformed XML (C counts
    // from 1), "unexpected error" otherwise.
    MKXmlNode* Parse(const char* text, int length, const wchar_t* encoding);
    // Of the last Parse; empty after a success.
    const MKString& GetErrorText() const { return m_errorText; }

private:
    static void OnStartElement(void* user, const wchar_t* name, const wchar_t** attributes);
    static void OnEndElement(void* user, const wchar_t* name);
    static void OnCharacterData(void* user, const wchar_t* text, int length);
    // Appends a new node to the open element; null when memory runs out.
    MKXmlNode* AppendNode(const MKString& name, bool isText);

    MKTArray<MKXmlNode*> m_open;  // the stack of open elements; the tree owns them
    MKString m_errorText;
    bool m_failed = false;  // a callback ran out of memory
};

// MKXmlParser::Parse of UTF-8 bytes.
MKXmlNode* MKXmlParseUtf8(MKXmlParser& parser, const char* text, int length);
