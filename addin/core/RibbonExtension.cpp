#include "addin/core/RibbonExtension.h"

#include <new>

#include "addin/core/AddInGuard.h"
#include "addin/core/RibbonCallbacks.h"
#include "addin/core/RibbonModel.h"
#include "base/MKString.h"

RibbonExtension::RibbonExtension(IUnknown* outer, AddIn* addIn)
    : AddInSubObject(outer), m_addIn(addIn), m_callbacks(new (std::nothrow) RibbonCallbacks(this, addIn))
{
}

RibbonExtension::~RibbonExtension()
{
    delete m_callbacks;
}

HRESULT RibbonExtension::QueryInterface(REFIID iid, void** out)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&] { return AddInSubObject::QueryInterface(iid, out); });
}

bool RibbonExtension::AnswerOwn(REFIID iid, IUnknown** answer)
{
    if (iid == Office::IID_IRibbonExtensibility)
        *answer = this;
    else if (iid == IID_IDispatch)
        *answer = m_callbacks;
    else
        return false;
    return true;
}

HRESULT RibbonExtension::GetCustomUI(BSTR, BSTR* ribbonXml)
{
    static AddInGuardRecord s_guard;
    return AddInGuarded(s_guard, m_addIn, E_UNEXPECTED, [&]() -> HRESULT {
        if (!ribbonXml)
            return E_POINTER;
        *ribbonXml = nullptr;
        if (!m_model)
            return E_FAIL;
        MKString xml;
        if (!m_model->BuildCustomUI(xml))
            return E_OUTOFMEMORY;
        *ribbonXml = xml.ToBstr();
        return *ribbonXml ? S_OK : E_OUTOFMEMORY;
    });
}
