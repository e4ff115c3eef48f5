#pragma once
#include <windows.h>
#include <ocidl.h>

// Advises a sink on a control's connection point for one interface for the
// life of the object (or until Disconnect).
class EventConnection {
public:
    EventConnection(IUnknown* control, const IID& iid, IUnknown* sink);
    ~EventConnection() { Disconnect(); }
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

    bool Connected() const { return m_cookie != 0; }
    void Disconnect();

private:
    IConnectionPoint* m_point = nullptr;
    DWORD m_cookie = 0;
};
