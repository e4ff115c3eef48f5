#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <string>
#include <utility>
#include <vector>

namespace standin {

// Tags of a presentation, slide or shape. As in PowerPoint, names are kept in
// upper case and compared without case; an unknown name reads as "".
class TagsObject : public DispatchObject<PowerPoint::Tags> {
public:
    explicit TagsObject(const DocumentStatePtr& document);

    void Set(const std::wstring& name, const std::wstring& value);
    std::wstring Value(const std::wstring& name) const;
    const std::vector<std::pair<std::wstring, std::wstring>>& Entries() const { return m_entries; }

    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(BSTR name, BSTR* result) override;
    HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value) override;
    HRESULT STDMETHODCALLTYPE Delete(BSTR name) override;

private:
    DocumentStatePtr m_document;
    std::vector<std::pair<std::wstring, std::wstring>> m_entries;
};

}  // namespace standin
