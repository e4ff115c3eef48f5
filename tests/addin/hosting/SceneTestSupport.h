#pragma once
#include "addin/hosting/ContainerNode.h"
#include "addin/hosting/HostSnapshot.h"
#include "addin/hosting/NodeEventInterfaces.h"
#include "addin/hosting/WindowedNode.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class NodeHost;

// Whether the 0xRRGGBB colour is within `tolerance` on every channel.
::testing::AssertionResult Near(DWORD actual, DWORD expected, int tolerance = 3);

// A content node whose readiness the test sets, which records what the host
// does to it and can run a test's code when the host shows it or asks it to
// become ready.
class TestContentNode : public SceneNode {
public:
    explicit TestContentNode(bool ready = true) : SceneNode(false), readyWanted(ready) {}

    int GetNodeType() const override { return Image; }
    bool IsReady() override { return readyWanted; }
    void SetShown(bool show) override;
    void TryBecomeReady() override;
    void TakeFocus() override { ++focusTaken; }

    bool readyWanted;
    // Becomes ready when asked.
    bool readyWhenAsked = false;
    int shownCalls = 0;
    int hiddenCalls = 0;
    int readyAsked = 0;
    int focusTaken = 0;
    std::function<void(bool)> onShown;
    std::function<void()> onAskedReady;
    int* deletions = nullptr;

protected:
    ~TestContentNode() override;
    bool OnActivate() override { return true; }
    bool OnStart() override { return true; }
    bool OnStop() override { return true; }
};

// A windowed node whose readiness the test sets (the native controls' case).
class TestWindowedNode : public WindowedNode {
public:
    TestWindowedNode(int windowMode, int native, bool ready = true)
        : WindowedNode(windowMode, native, 0), readyWanted(ready)
    {
    }
    bool IsReady() override { return readyWanted; }
    void TryBecomeReady() override { ++readyAsked; }

    bool readyWanted;
    int readyAsked = 0;
};

// A snapshot window that records what it was asked to cover.
class RecordingSnapshot : public HostSnapshot {
public:
    struct Area {
        float x, y, width, height;
    };
    bool Show(HWND source, float x, float y, float width, float height) override;
    void Hide() override { ++hides; }

    std::vector<Area> shown;
    int hides = 0;
};

// {0612866E-AEB3-42D0-8BC4-F4CF7E1C4036}: what a sink that plug-ins attach
// through a proxy (identifier -4) answers.
extern const IID kNodeEventSinkIid;

// An event sink of the kind plug-ins attach, answering the node and host
// event interfaces it is told to and recording every call as text.
class TestSink : public INodeEventSink, public INodeStateEvents, public IContainerEvents, public IHostEvents {
public:
    TestSink() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE OnDetached() override;
    HRESULT STDMETHODCALLTYPE OnClosed() override;
    HRESULT STDMETHODCALLTYPE Reserved() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CanActivate(int32_t* allow) override;
    HRESULT STDMETHODCALLTYPE OnActivated() override;
    HRESULT STDMETHODCALLTYPE CanStart(int32_t* allow) override;
    HRESULT STDMETHODCALLTYPE OnStarted() override;
    HRESULT STDMETHODCALLTYPE OnStopping() override;
    HRESULT STDMETHODCALLTYPE OnStopped() override;
    HRESULT STDMETHODCALLTYPE OnReadyChanged(VARIANT_BOOL ready) override;
    HRESULT STDMETHODCALLTYPE OnParentChanged(IDispatch* parent) override;
    HRESULT STDMETHODCALLTYPE GetSnapshotArea(float* left, float* top, float* right, float* bottom,
                                              int32_t* needed) override;
    HRESULT STDMETHODCALLTYPE OnSnapshotShown() override;

    ULONG refs = 1;
    bool stateEvents = true;
    bool containerEvents = true;
    bool hostEvents = false;
    HRESULT canActivateResult = S_OK;
    int32_t canActivateAllow = 1;
    HRESULT canStartResult = S_OK;
    int32_t canStartAllow = 1;
    bool askSnapshot = false;
    std::vector<std::string> calls;
    int snapshotAreaCalls = 0;
    std::function<void(bool)> onReadyChanged;
    std::function<void()> onActivated;
};

// A test sink that also answers one more of the node's event interfaces:
// Derived writes only that interface's own methods, and may refuse it
// (OffersEvents).
template <class Events, const IID& kEventsIid>
class TestSinkWith : public TestSink, public Events {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == kEventsIid && OffersEvents()) {
            *out = static_cast<Events*>(this);
            AddRef();
            return S_OK;
        }
        return TestSink::QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return TestSink::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return TestSink::Release(); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

protected:
    virtual bool OffersEvents() const { return true; }
};

// A hidden popup of the given client size, destroyed with the object.
class HostWindow {
public:
    HostWindow(int width, int height);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

// A host drawn into a HostWindow, closed and released with the object.
class TestHost {
public:
    TestHost(int clientWidth, int clientHeight, float width, float height);
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;
    NodeHost* operator->() const { return host; }

    HostWindow window;
    NodeHost* host = nullptr;
};

// Adds a node made by the caller (whose reference the container takes over,
// the caller keeping a pointer) and answers it.
template <typename Node>
Node* AddTo(ContainerNode* parent, Node* node, float x, float y, float width, float height)
{
    node->SetRect(x, y, width, height);
    EXPECT_TRUE(parent->AddChild(node));
    node->Release();
    return node;
}
