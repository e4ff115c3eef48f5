#pragma once

// Declares an interface member that the stand-in runtime does not offer.
#define STANDIN_NOTIMPL(signature) \
    HRESULT STDMETHODCALLTYPE signature override { return E_NOTIMPL; }
