#pragma once
#include "base/MKString.h"

#include <stdint.h>

class MKHttpRequest;
class ValueTree;

// One POST of a tree to the web service in an envelope of the request key,
// and its answer read back with the response key. The transfer runs on the
// HTTP client's thread; this object is polled on its owner's thread only.
class WebRequest {
public:
    // Takes a reference of its own on the tree.
    WebRequest(const MKString& url, ValueTree* tree, uint32_t requestKey, uint32_t responseKey,
               bool ignoreCertificateErrors);
    // Cancels a transfer still running.
    ~WebRequest();
    WebRequest(const WebRequest&) = delete;
    WebRequest& operator=(const WebRequest&) = delete;

    // Starts the POST; true at once when one was started before. False, with
    // nothing started, when the body cannot be made or the client refuses.
    bool Send();
    // Ends and forgets the transfer.
    void Cancel();
    // Started or receiving.
    bool IsBusy() const;
    bool IsDone() const;
    // The HTTP status once done, else 0.
    int GetStatus() const;
    // The answer of a transfer done with status 200 whose body is an envelope
    // of an array tree, with one reference for the caller; else null.
    ValueTree* GetResponse() const;

private:
    int GetState() const;

    MKString m_url;
    ValueTree* m_tree;
    uint32_t m_requestKey;
    uint32_t m_responseKey;
    bool m_ignoreCertificateErrors;
    MKHttpRequest* m_http = nullptr;
};
