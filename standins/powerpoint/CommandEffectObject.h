#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/DocumentState.h"

#include <string>

namespace standin {

// AnimationBehavior.CommandEffect: the command's type (event, call, verb) and
// its text.
class CommandEffectObject : public DispatchObject<PowerPoint::CommandEffect> {
public:
    explicit CommandEffectObject(const DocumentStatePtr& document);

    long Type() const { return m_type; }
    const std::wstring& Command() const { return m_command; }
    void Set(long type, const std::wstring& command);

    HRESULT STDMETHODCALLTYPE get_Type(long* result) override;
    HRESULT STDMETHODCALLTYPE put_Type(long value) override;
    HRESULT STDMETHODCALLTYPE get_Command(BSTR* result) override;
    HRESULT STDMETHODCALLTYPE put_Command(BSTR value) override;

private:
    DocumentStatePtr m_document;
    long m_type = PowerPoint::msoAnimCommandTypeEvent;
    std::wstring m_command;
};

}  // namespace standin
