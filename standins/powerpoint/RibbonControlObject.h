#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <string>

namespace standin {

// The IRibbonControl passed as first argument of every control callback:
// the control's id, and through IDispatch also its Context (null) and Tag.
class RibbonControlObject : public DispatchObject<Office::IRibbonControl> {
public:
    RibbonControlObject(const std::wstring& id, const std::wstring& tag);

    HRESULT STDMETHODCALLTYPE get_Id(BSTR* result) override;

protected:
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:
    std::wstring m_id;
    std::wstring m_tag;
};

}  // namespace standin
