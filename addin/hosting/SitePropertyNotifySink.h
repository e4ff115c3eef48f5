#pragma once
#include <ocidl.h>

class ControlSite;

// The property-change sink a ControlSite connects to its control: each
// notice goes to the site's owner. The site owns the sink (one reference) and
// outlives its connection.
class SitePropertyNotifySink : public IPropertyNotifySink {
public:
    explicit SitePropertyNotifySink(ControlSite* site) : m_site(site) { }
    SitePropertyNotifySink(const SitePropertyNotifySink&) = delete;
    SitePropertyNotifySink& operator=(const SitePropertyNotifySink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override;
    // S_OK when the owner allows the edit, S_FALSE when it refuses.
    HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID id) override;

private:
    virtual ~SitePropertyNotifySink() { m_site = nullptr; }

    LONG m_refs = 0;
    ControlSite* m_site;
};
