#pragma once
#include <windows.h>
#include <ocidl.h>
#include <urlmon.h>
#include <functional>
#include <string>

namespace standin {

// Loads the bytes at a URL the way a control does through its container:
// asks the client site's service provider for SID_IBindHost, registers its own
// bind-status callback in a new bind context, lets the bind host make the
// moniker (CreateMoniker) and bind it (MonikerBindToStorage), and collects
// what OnDataAvailable delivers. Every step and every callback is logged.
// `done` runs exactly once: with S_OK and the bytes when the last data
// arrived, or with the failure (also when the binding stops without data);
// it may run before Start returns (served bindings) or later (pending ones).
// A binding keeps `owner` referenced until `done` has run.
class SiteBinding {
public:
    using Logger = std::function<void(const std::wstring&)>;
    using Done = std::function<void(HRESULT, const std::string&)>;

    // E_NOINTERFACE (nothing logged but the refusal, `done` not called) when
    // the site has no bind host; otherwise MonikerBindToStorage's result
    // (`done` called with the failure when it failed).
    static HRESULT Start(IOleClientSite* site, const std::wstring& url, IUnknown* owner, Logger log, Done done);
    // Start when the site offers a bind host; otherwise ReadFile. `done` runs
    // once either way: a failed bind does not fall back to the disk.
    static void Load(IOleClientSite* site, const std::wstring& name, IUnknown* owner, Logger log, Done done);
    // Reads the file at the path (a "file:///" prefix dropped) and hands the
    // bytes, or the failure, to `done` before returning.
    static void ReadFile(const std::wstring& name, const Done& done);

private:
    // The site's bind host (a reference for the caller), or null.
    static IBindHost* FindBindHost(IOleClientSite* site, const Logger& log);
    // Start's binding over the bind host, which it releases.
    static HRESULT Bind(IBindHost* bindHost, const std::wstring& url, IUnknown* owner, Logger log, Done done);
};

}  // namespace standin
