#pragma once
#include "hostapi/OfficeInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <string>
#include <vector>

namespace standin {

class ComAddInObject;

// Application.COMAddIns: the add-ins of the Office add-in keys, refreshed by
// Update; Item by VT_I4 position from 1 or by ProgID. It also runs Office's
// start-up (LoadBehavior 3 add-ins) and shut-down sequences.
class ComAddInsObject : public DispatchObject<Office::COMAddIns> {
public:
    ComAddInsObject();

    // Disconnects nothing: call ShutdownAll first. Detaches and drops the items.
    void Detach();

    // Office's start-up: reads the entries, then OnConnection (start-up mode)
    // and the ribbon XML for each LoadBehavior 3 add-in in list order,
    // OnAddInsUpdate and OnStartupComplete for each connected one, then the
    // ribbons' onLoad and get-callbacks.
    void LoadAtStartup();
    // Office's shut-down: OnBeginShutdown for every connected add-in, then
    // OnDisconnection (host shut-down) for each.
    void ShutdownAll();
    // OnAddInsUpdate for every connected add-in.
    void NotifyAddInsUpdate();
    // Re-reads the Office add-in keys: new entries are appended, known ones
    // refreshed; entries gone from the registry leave unless connected.
    void Refresh();

    ComAddInObject* Find(const std::wstring& progId) const;
    const std::vector<ComAddInObject*>& Items() const { return m_items; }

    HRESULT STDMETHODCALLTYPE get_Application(IDispatch** result) override;
    HRESULT STDMETHODCALLTYPE get_Creator(long* result) override;
    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, Office::COMAddIn** result) override;
    HRESULT STDMETHODCALLTYPE get_Count(long* result) override;
    HRESULT STDMETHODCALLTYPE Update() override;

protected:
    ~ComAddInsObject() override;

private:
    std::vector<ComAddInObject*> m_items;
};

}  // namespace standin
