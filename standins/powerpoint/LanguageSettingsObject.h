#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <map>

namespace standin {

// Application.LanguageSettings: LanguageID answers the identifier set for
// each kind (1 install, 2 user interface, 3 help, 4 executable mode, 5
// previous user interface), 1033 unless a test sets another one.
class LanguageSettingsObject : public DispatchObject<Office::LanguageSettings> {
public:
    LanguageSettingsObject();

    void SetLanguageId(long kind, int languageId) { m_ids[kind] = languageId; }

    HRESULT STDMETHODCALLTYPE get_Application(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_Creator(long* result) override;
    HRESULT STDMETHODCALLTYPE get_LanguageID(long id, int* result) override;

private:
    std::map<long, int> m_ids;
};

}  // namespace standin
