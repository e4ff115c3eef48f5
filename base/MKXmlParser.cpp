#include "base/MKXmlParser.h"

#include "base/MKAlloc.h"
#include "base/MKXmlNode.h"

#include <expat.h>
#include <new>

namespace {

const XML_Memory_Handling_Suite s_baseMemory = {MKAlloc, MKRealloc, MKFree};

}  // namespace

MKXmlNode* MKXmlParser::AppendNode(const MKString& name, bool isText)
{
    if (m_failed || m_open.IsEmpty())
        return nullptr;
    MKXmlNode* node = new (std::nothrow) MKXmlNode(name, isText);
    if (!node) {
        m_failed = true;
        return nullptr;
    }
    bool added = m_open[m_open.GetCount() - 1]->AppendChild(node);
    node->Release();  // the parent's reference keeps it
    if (!added) {
        m_failed = true;
        return nullptr;
    }
    return node;
}

void MKXmlParser::OnStartElement(void* user, const wchar_t* name, const wchar_t** attributes)
{
    MKXmlParser* self = static_cast<MKXmlParser*>(user);
    MKXmlNode* node = self->AppendNode(MKString(name), false);
    if (!node)
        return;
    for (int i = 0; attributes[i] && attributes[i + 1]; i += 2) {
        if (!node->AddAttribute(MKString(attributes[i]), MKString(attributes[i + 1]))) {
            self->m_failed = true;
            return;
        }
    }
    if (!self->m_open.Add(node))
        self->m_failed = true;
}

void MKXmlParser::OnEndElement(void* user, const wchar_t*)
{
    MKXmlParser* self = static_cast<MKXmlParser*>(user);
    if (!self->m_failed && self->m_open.GetCount() > 1)
        self->m_open.RemoveAt(self->m_open.GetCount() - 1);
}

void MKXmlParser::OnCharacterData(void* user, const wchar_t* text, int length)
{
    MKXmlParser* self = static_cast<MKXmlParser*>(user);
    MKString chars = MKString::MKStringFromChars(text, length);
    if (chars.GetLength() != length)
        self->m_failed = true;
    else
        self->AppendNode(chars, true);
}

MKXmlNode* MKXmlParser::Parse(const char* text, int length, const wchar_t* encoding)
{
    m_errorText.Clear();
    m_failed = false;
    m_open.RemoveAll();
    MKXmlNode* root = new (std::nothrow) MKXmlNode(MKString(), false);
    XML_Parser parser = root ? XML_ParserCreate_MM(encoding, &s_baseMemory, nullptr) : nullptr;
    if (!parser || !m_open.Add(root)) {
        if (root)
            root->Release();
        if (parser)
            XML_ParserFree(parser);
        m_errorText = L"unexpected error";
        return nullptr;
    }
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, OnStartElement, OnEndElement);
    XML_SetCharacterDataHandler(parser, OnCharacterData);

    bool parsed = XML_Parse(parser, text, length, 1) != XML_STATUS_ERROR;
    m_open.RemoveAll();
    if (!parsed) {
        m_errorText.Format(L"line %d, col %d: %s", int(XML_GetCurrentLineNumber(parser)),
                           int(XML_GetCurrentColumnNumber(parser)) + 1, XML_ErrorString(XML_GetErrorCode(parser)));
    }
    XML_ParserFree(parser);

    MKXmlNode* document = nullptr;
    if (parsed) {
        if (!m_failed && root->GetChildCount() == 1) {
            document = root->GetChildAt(0);
            document->AddRef();
        } else {
            m_errorText = L"unexpected error";
        }
    }
    root->Release();
    return document;
}

MKXmlNode* MKXmlParseUtf8(MKXmlParser& parser, const char* text, int length)
{
    return parser.Parse(text, length, L"UTF-8");
}
