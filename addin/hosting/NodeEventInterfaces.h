#pragma once
#include <oaidl.h>
#include <stdint.h>

// The interfaces through which scene nodes and hosts report to the event sink
// their creator attached (plug-ins implement them). Nodes call them by
// position; every position a node calls is fixed, the others belong to the
// plug-in side and nodes never call them.

// The attached sink itself.
struct INodeEventSink : public IDispatch {
    // After the node's children were detached (the node's window and
    // resources are about to go).
    virtual HRESULT STDMETHODCALLTYPE OnDetached() = 0;
    // Once, while the node closes; the node drops the sink afterwards.
    virtual HRESULT STDMETHODCALLTYPE OnClosed() = 0;
};

// {173AC5AA-7793-4ABA-93F5-79C7256DCC90}, asked of the sink each time it is
// needed. A Can* call refuses the transition unless it answers S_OK with a
// non-zero allow value.
struct INodeStateEvents : public IDispatch {
    // A position of the plug-in side; nodes never call it.
    virtual HRESULT STDMETHODCALLTYPE Reserved() = 0;
    virtual HRESULT STDMETHODCALLTYPE CanActivate(int32_t* allow) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnActivated() = 0;
    virtual HRESULT STDMETHODCALLTYPE CanStart(int32_t* allow) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStarted() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStopping() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnStopped() = 0;
    virtual HRESULT STDMETHODCALLTYPE OnReadyChanged(VARIANT_BOOL ready) = 0;
};

// {85BB27A1-42ED-4DB6-95A1-791408078797}.
struct IContainerEvents : public IDispatch {
    // The new parent's automation proxy (the host's for a layer) after the
    // node was added, null after it was removed.
    virtual HRESULT STDMETHODCALLTYPE OnParentChanged(IDispatch* parent) = 0;
};

// {99B96C91-88CF-4D48-9F9A-C6DD2CBEEA1F}, asked of a host's sink by its
// repaint pass.
struct IHostEvents : public IDispatch {
    // May widen the area (logical host units) that a snapshot must cover
    // while windows change, and ask for one with a non-zero `needed`; the
    // values count only when the call succeeds.
    virtual HRESULT STDMETHODCALLTYPE GetSnapshotArea(float* left, float* top, float* right, float* bottom,
                                                      int32_t* needed) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnSnapshotShown() = 0;
};

// {90897F51-9F89-4AA9-BA32-E63930746D4F}, asked of an ActiveX node's sink
// for the commands of keys its control does not keep and for its visibility.
struct INodeInputEvents : public IDispatch {
    // A non-zero `handled` swallows the key.
    virtual HRESULT STDMETHODCALLTYPE OnCommand(int32_t command, int32_t keyState, int32_t* handled) = 0;
    virtual HRESULT STDMETHODCALLTYPE OnVisibilityChanged(VARIANT_BOOL visible) = 0;
};

// {BC5E0043-9A15-4AAE-8360-2F13F9078AF4}, taken from an effect movie node's
// sink at activation: the movie's ExternalInterface calls that the node does
// not answer itself.
struct IMovieCallHandler : public IDispatch {
    // `response` (null: no return value) goes back to the movie.
    virtual HRESULT STDMETHODCALLTYPE HandleCall(BSTR request, BSTR* response) = 0;
};

extern const IID IID_INodeStateEvents;
extern const IID IID_IMovieCallHandler;
extern const IID IID_INodeInputEvents;
extern const IID IID_IContainerEvents;
extern const IID IID_IHostEvents;
