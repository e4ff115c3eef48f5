#pragma once
#include "base/MKDispatchObject.h"

class UpdateChecker;
class UpdaterLink;

// {F47A5A31-1849-4B5B-BCCE-D3AEF8EA0A4A}
extern const IID IID_UpdateCheckDispatch;

// The automation object through which a plug-in drives updates: DISPID 1
// starts a check of its own (VT_BOOL: one runs), 2 stops it, 3 its status
// (VT_I4), 4 installs the downloaded update now (VT_I4 code), 5 locked, 6 a
// result waits, 7 a restart is needed (VT_BOOL). No member takes arguments.
// Used on PowerPoint's user-interface thread.
class UpdateCheckDispatch : public MKDispatchObject {
public:
    // Joins the link's list: the link detaches the object when it goes.
    explicit UpdateCheckDispatch(UpdaterLink* link);

    // Stops the object's check and forgets the link; every member then
    // answers E_NOTIMPL.
    void Detach();
    UpdateChecker* GetChecker() const { return m_checker; }

private:
    ~UpdateCheckDispatch() override;
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* parameters, VARIANT* result) override;
    HRESULT Member(DISPID id, VARIANT* result);
    void StopOwnCheck();

    UpdaterLink* m_link;
    UpdateChecker* m_checker = nullptr;
};
