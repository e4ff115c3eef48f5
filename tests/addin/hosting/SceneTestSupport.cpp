#include "SceneTestSupport.h"

#include "addin/hosting/NodeHost.h"

#include <gtest/gtest.h>

#include <cstdlib>

::testing::AssertionResult Near(DWORD actual, DWORD expected, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << (actual & 0xFFFFFF) << " is not 0x"
                                                 << expected;
    }
    return ::testing::AssertionSuccess();
}

void TestContentNode::SetShown(bool show)
{
    ++(show ? shownCalls : hiddenCalls);
    SceneNode::SetShown(show);
    if (onShown)
        onShown(show);
}

void TestContentNode::TryBecomeReady()
{
    ++readyAsked;
    if (onAskedReady)
        onAskedReady();
    if (readyWhenAsked) {
        readyWanted = true;
        SetReady(true);
    }
}

TestContentNode::~TestContentNode()
{
    if (deletions)
        ++*deletions;
}

bool RecordingSnapshot::Show(HWND, float x, float y, float width, float height)
{
    shown.push_back({x, y, width, height});
    return true;
}

const IID kNodeEventSinkIid = {0x0612866E, 0xAEB3, 0x42D0, {0x8B, 0xC4, 0xF4, 0xCF, 0x7E, 0x1C, 0x40, 0x36}};

HRESULT TestSink::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kNodeEventSinkIid)
        *out = static_cast<INodeEventSink*>(this);
    else if (iid == IID_INodeStateEvents && stateEvents)
        *out = static_cast<INodeStateEvents*>(this);
    else if (iid == IID_IContainerEvents && containerEvents)
        *out = static_cast<IContainerEvents*>(this);
    else if (iid == IID_IHostEvents && hostEvents)
        *out = static_cast<IHostEvents*>(this);
    if (!*out)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TestSink::Release()
{
    ULONG left = --refs;
    // The test owns the first reference on the stack; nobody deletes.
    EXPECT_GE(int(left), 0);
    return left;
}

HRESULT TestSink::OnDetached()
{
    calls.push_back("OnDetached");
    return S_OK;
}

HRESULT TestSink::OnClosed()
{
    calls.push_back("OnClosed");
    return S_OK;
}

HRESULT TestSink::CanActivate(int32_t* allow)
{
    calls.push_back("CanActivate");
    *allow = canActivateAllow;
    return canActivateResult;
}

HRESULT TestSink::OnActivated()
{
    calls.push_back("OnActivated");
    if (onActivated)
        onActivated();
    return S_OK;
}

HRESULT TestSink::CanStart(int32_t* allow)
{
    calls.push_back("CanStart");
    *allow = canStartAllow;
    return canStartResult;
}

HRESULT TestSink::OnStarted()
{
    calls.push_back("OnStarted");
    return S_OK;
}

HRESULT TestSink::OnStopping()
{
    calls.push_back("OnStopping");
    return S_OK;
}

HRESULT TestSink::OnStopped()
{
    calls.push_back("OnStopped");
    return S_OK;
}

HRESULT TestSink::OnReadyChanged(VARIANT_BOOL ready)
{
    calls.push_back(ready ? "OnReadyChanged(true)" : "OnReadyChanged(false)");
    if (onReadyChanged)
        onReadyChanged(ready != VARIANT_FALSE);
    return S_OK;
}

HRESULT TestSink::OnParentChanged(IDispatch* parent)
{
    calls.push_back(parent ? "OnParentChanged(proxy)" : "OnParentChanged");
    return S_OK;
}

HRESULT TestSink::GetSnapshotArea(float*, float*, float*, float*, int32_t* needed)
{
    ++snapshotAreaCalls;
    *needed = askSnapshot ? 1 : 0;
    return S_OK;
}

HRESULT TestSink::OnSnapshotShown()
{
    calls.push_back("OnSnapshotShown");
    return S_OK;
}

HostWindow::HostWindow(int width, int height)
{
    m_window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

HostWindow::~HostWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

TestHost::TestHost(int clientWidth, int clientHeight, float width, float height) : window(clientWidth, clientHeight)
{
    host = new NodeHost(window.Get(), GetModuleHandleW(nullptr), width, height, 1);
}

TestHost::~TestHost()
{
    host->Close();
    host->Release();
}
