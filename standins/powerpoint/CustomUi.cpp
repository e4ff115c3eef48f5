#include "standins/powerpoint/CustomUi.h"

#include <expat.h>

namespace standin {

namespace {

struct ParseState {
    std::vector<CustomUiElement>* elements;
    int depth = 0;
};

std::wstring LocalName(const XML_Char* name)
{
    std::wstring text(name);
    size_t colon = text.find(L':');
    return colon == std::wstring::npos ? text : text.substr(colon + 1);
}

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes)
{
    ParseState* state = static_cast<ParseState*>(data);
    CustomUiElement element;
    element.tag = LocalName(name);
    element.depth = state->depth++;
    for (int i = 0; attributes[i] && attributes[i + 1]; i += 2)
        element.attributes[attributes[i]] = attributes[i + 1];
    state->elements->push_back(element);
}

void XMLCALL EndElement(void* data, const XML_Char*)
{
    --static_cast<ParseState*>(data)->depth;
}

}  // namespace

std::wstring CustomUiElement::Attribute(const std::wstring& name) const
{
    auto found = attributes.find(name);
    return found != attributes.end() ? found->second : std::wstring();
}

bool CustomUi::Parse(const std::wstring& xml)
{
    m_elements.clear();
    // The text is UTF-16 whatever its declaration says: the encoding given
    // here overrides the document's.
    XML_Parser parser = XML_ParserCreate(L"UTF-16LE");
    if (!parser)
        return false;
    ParseState state{&m_elements};
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, StartElement, EndElement);
    bool parsed = XML_Parse(parser, reinterpret_cast<const char*>(xml.data()),
                            static_cast<int>(xml.size() * sizeof(wchar_t)), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    if (!parsed || m_elements.empty() || m_elements.front().tag != L"customUI") {
        m_elements.clear();
        return false;
    }
    return true;
}

const CustomUiElement* CustomUi::FindById(const std::wstring& id) const
{
    for (const CustomUiElement& element : m_elements) {
        if (element.Attribute(L"id") == id)
            return &element;
    }
    return nullptr;
}

std::wstring CustomUi::RootAttribute(const std::wstring& name) const
{
    return m_elements.empty() ? std::wstring() : m_elements.front().Attribute(name);
}

}  // namespace standin
