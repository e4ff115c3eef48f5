// demo_control.exe <movie> <stream file>: the slide movie control
// (plovapoint.dll of the build, registered for the run beside the Flash
// stand-in) takes the movie, saves its stream into the file, and a second
// control loads that stream and saves it again byte for byte. Exits 0 when
// the saved stream holds the movie and the second save equals the first.
#include "PlovapointRegistration.h"
#include "fixtures/ComScope.h"
#include "slidecontrol/IFOfficeDoc.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include <ocidl.h>
#include <shlwapi.h>
#include <stdio.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

int Fail(const char* what)
{
    fprintf(stderr, "demo_control: %s\n", what);
    return 1;
}

Bytes ReadFileBytes(const wchar_t* path)
{
    Bytes bytes;
    if (FILE* file = _wfopen(path, L"rb")) {
        uint8_t buffer[65536];
        size_t read;
        while ((read = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + read);
        fclose(file);
    }
    return bytes;
}

// The control's stream as IPersistStreamInit saves it; empty on failure.
Bytes Save(IUnknown* control)
{
    Bytes bytes;
    IPersistStreamInit* persist = nullptr;
    if (FAILED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
        return bytes;
    IStream* stream = SHCreateMemStream(nullptr, 0);
    STATSTG stat = {};
    LARGE_INTEGER start = {};
    if (stream && SUCCEEDED(persist->Save(stream, TRUE)) && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) &&
        SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        bytes.resize(size_t(stat.cbSize.QuadPart));
        ULONG read = 0;
        if (bytes.empty() || FAILED(stream->Read(bytes.data(), ULONG(bytes.size()), &read)) || read != bytes.size())
            bytes.clear();
    }
    if (stream)
        stream->Release();
    persist->Release();
    return bytes;
}

bool Load(IUnknown* control, const Bytes& bytes)
{
    IPersistStreamInit* persist = nullptr;
    if (FAILED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))))
        return false;
    IStream* stream = SHCreateMemStream(bytes.data(), UINT(bytes.size()));
    bool loaded = stream && SUCCEEDED(persist->Load(stream));
    if (stream)
        stream->Release();
    persist->Release();
    return loaded;
}

IFOfficeDoc* NewControl()
{
    IFOfficeDoc* control = nullptr;
    CoCreateInstance(CLSID_FOfficeDoc, nullptr, CLSCTX_INPROC_SERVER, IID_IFOfficeDoc,
                     reinterpret_cast<void**>(&control));
    return control;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return Fail("usage: demo_control <movie> <stream file>");
    Bytes movie = ReadFileBytes(argv[1]);
    if (movie.empty())
        return Fail("the movie cannot be read");
    ComScope com;
    ControlRegistration flash(StandInControl::Flash10);
    PlovapointRegistration registration;
    if (!flash.Registered() || FAILED(registration.Result()))
        return Fail("the control could not be registered");
    IFOfficeDoc* first = NewControl();
    IFOfficeDoc* second = NewControl();
    if (!first || !second)
        return Fail("the control cannot be made through COM");
    BSTR path = SysAllocString(argv[1]);
    HRESULT set = first->SetMovie(path);
    SysFreeString(path);
    Bytes saved = SUCCEEDED(set) ? Save(first) : Bytes();
    bool loaded = !saved.empty() && Load(second, saved);
    Bytes again = loaded ? Save(second) : Bytes();
    first->Release();
    second->Release();
    if (saved.size() < 16 + movie.size() || !std::equal(movie.begin(), movie.end(), saved.begin() + 16))
        return Fail("the saved stream does not hold the movie");
    if (!loaded)
        return Fail("a second control does not load the saved stream");
    if (again != saved)
        return Fail("the reloaded control saves a different stream");
    FILE* file = _wfopen(argv[2], L"wb");
    if (!file || fwrite(saved.data(), 1, saved.size(), file) != saved.size() || fclose(file) != 0)
        return Fail("the stream file cannot be written");
    printf("stream of %u bytes (movie %u bytes) saved, reloaded and saved again unchanged\n", unsigned(saved.size()),
           unsigned(movie.size()));
    return 0;
}
