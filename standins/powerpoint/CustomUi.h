#pragma once
#include <map>
#include <string>
#include <vector>

namespace standin {

// One element of a customUI document: its tag without namespace prefix, its
// attributes and its depth below the root (0 for customUI itself).
struct CustomUiElement {
    std::wstring tag;
    std::map<std::wstring, std::wstring> attributes;
    int depth = 0;

    // The attribute's value, empty when absent.
    std::wstring Attribute(const std::wstring& name) const;
};

// The customUI XML an add-in hands to Office, parsed into its elements in
// document order. Plain code over text: no window, no COM.
class CustomUi {
public:
    // False, leaving no elements, for malformed XML or a root other than
    // customUI.
    bool Parse(const std::wstring& xml);

    const std::vector<CustomUiElement>& Elements() const { return m_elements; }
    // The element whose id attribute is the id, or null.
    const CustomUiElement* FindById(const std::wstring& id) const;
    // The root's attribute (onLoad, loadImage), empty when absent.
    std::wstring RootAttribute(const std::wstring& name) const;

private:
    std::vector<CustomUiElement> m_elements;
};

}  // namespace standin
