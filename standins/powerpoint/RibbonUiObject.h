#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <string>
#include <vector>

namespace standin {

// The IRibbonUI handed to an add-in's onLoad callback. It records each
// Invalidate (as an empty id) and InvalidateControl (the control id) in order.
class RibbonUiObject : public DispatchObject<Office::IRibbonUI> {
public:
    RibbonUiObject();

    const std::vector<std::wstring>& Invalidations() const { return m_invalidations; }

    HRESULT STDMETHODCALLTYPE Invalidate() override;
    HRESULT STDMETHODCALLTYPE InvalidateControl(BSTR controlId) override;

protected:
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:
    std::vector<std::wstring> m_invalidations;
};

}  // namespace standin
