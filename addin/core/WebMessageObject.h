#pragma once
#include "base/MKDispatchObject.h"
#include "base/MKString.h"

class ValueTree;
class WebRequest;

// The kernel's channel to the product's web service, by DISPID: a URL and a
// request tree are set, one POST is sent and polled, its answer is read back
// as a tree in binary form, and closing discards the request so that another
// can be sent. Trees cross as integer addresses with a length; an answer is
// handed out in COM task memory that the caller frees. PowerPoint's
// user-interface thread only; the transfer itself runs on the HTTP client's
// thread.
class WebMessageObject final : public MKDispatchObject {
public:
    // The object's own interface identity, which QueryInterface answers.
    static const IID kIdentity;

    WebMessageObject();

protected:
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override;

private:
    ~WebMessageObject() override;

    // The tree in binary form at the address; false, keeping the old tree,
    // unless the memory is readable and holds an array tree.
    bool ReadRequestTree(int64_t address, int32_t length);
    bool Send();
    void Close();
    // The answer's binary form in a new task-memory block; false without one.
    bool WriteResponse(int64_t* address, int32_t* length) const;

    MKString m_url;
    ValueTree* m_tree = nullptr;
    WebRequest* m_request = nullptr;
};
