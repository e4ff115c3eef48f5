#pragma once
#include "base/MKDispatchObject.h"
#include "base/MKHandyWindow.h"

#include <stdint.h>

class MKHttpRequest;
struct IHttpRequestSink;

// An HTTP request for content of the .NET side, by DISPID: open, options,
// the progress sink, start, close, and the transfer's state and results.
// The transfer runs on the HTTP client's thread; its progress reaches the
// sink on the thread that made this object, through a hidden window of that
// thread (the transfer waits for the sink's answer).
class HostCreatedObject final : public MKDispatchObject, private MKHandyWindowOwner {
public:
    // Made on the thread that owns it, whose messages must be pumped while
    // a transfer with a sink runs.
    explicit HostCreatedObject(HINSTANCE instance);

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    ~HostCreatedObject() override;

    struct Progress {
        const uint8_t* block;
        int length;
        uint32_t contentLengthLow;
        uint32_t contentLengthHigh;
        int percentage;
    };
    static int OnProgress(void* data, const uint8_t* block, int length, uint32_t contentLengthLow,
                          uint32_t contentLengthHigh, int percentage);
    // The sink's call, on the owner's thread.
    bool Deliver(const Progress& progress);
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HRESULT SetSink(IUnknown* sink);
    void Close();

    HINSTANCE m_instance;
    DWORD m_ownerThread;
    MKHandyWindow m_window;
    MKHttpRequest* m_request = nullptr;
    IHttpRequestSink* m_sink = nullptr;
};
