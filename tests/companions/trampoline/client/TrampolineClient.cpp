// Another process's side of the trampoline: creates the object through
// local-server activation, checks its type information through the proxy,
// calls DoVerb with each verb on the command line and releases it.
// Usage: trampoline_client.exe <parent window, hexadecimal> <verb>...
// Prints one line per call; the exit code is 0 when every call succeeded.
#include <windows.h>
#include <ole2.h>

#include <stdio.h>
#include <stdlib.h>

namespace {

const CLSID kTrampolineClass = {0x522D7408, 0x728B, 0x4F76, {0x9D, 0xDC, 0xCA, 0x67, 0x04, 0x0A, 0x73, 0x6C}};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    HWND parent = reinterpret_cast<HWND>(strtoul(argv[1], nullptr, 16));
    CoInitialize(nullptr);
    int failures = 0;
    IOleObject* object = nullptr;
    HRESULT hr = CoCreateInstance(kTrampolineClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object));
    printf("create %08lX\n", hr);
    if (SUCCEEDED(hr)) {
        IDispatch* dispatch = nullptr;
        UINT count = 0;
        hr = object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        if (SUCCEEDED(hr)) {
            hr = dispatch->GetTypeInfoCount(&count);
            dispatch->Release();
        }
        printf("typeinfo %08lX %u\n", hr, count);
        failures += FAILED(hr) || count != 1;
        for (int i = 2; i < argc; ++i) {
            RECT area = {0, 0, 10, 10};
            hr = object->DoVerb(atol(argv[i]), nullptr, nullptr, 0, parent, &area);
            printf("verb %s %08lX\n", argv[i], hr);
            failures += FAILED(hr);
        }
        object->Release();
    } else {
        ++failures;
    }
    CoUninitialize();
    return failures;
}
