#include "TrampolineVerb.h"

#include "DemoShow.h"

#include <ole2.h>

#include <vector>

namespace {

const CLSID kTrampolineClass = {0x522D7408, 0x728B, 0x4F76, {0x9D, 0xDC, 0xCA, 0x67, 0x04, 0x0A, 0x73, 0x6C}};
const wchar_t kVerbMessage[] = L"{7A121FE9-1253-48e4-9337-9205C2B179DF}";

// What the thread's message loop took for the watched window.
HWND g_watched = nullptr;
UINT g_message = 0;
std::vector<WPARAM> g_arrived;

LRESULT CALLBACK WatchMessages(int code, WPARAM removal, LPARAM data)
{
    const MSG* message = reinterpret_cast<const MSG*>(data);
    if (code == HC_ACTION && removal == PM_REMOVE && message->hwnd == g_watched && message->message == g_message)
        g_arrived.push_back(message->wParam);
    return CallNextHookEx(nullptr, code, removal, data);
}

std::string Hex(HRESULT hr)
{
    char text[16];
    wsprintfA(text, "0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

}  // namespace

std::string FireTrampolineVerb(HWND pane, LONG verb)
{
    g_watched = FindWindowExW(pane, nullptr, L"VistelloMessageWindow", L"VistelloMessageWindow");
    g_message = RegisterWindowMessageW(kVerbMessage);
    g_arrived.clear();
    if (!g_watched)
        return "the show has no message window";
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, WatchMessages, nullptr, GetCurrentThreadId());
    if (!hook)
        return "the show's messages cannot be watched";
    IOleObject* object = nullptr;
    HRESULT hr = CoCreateInstance(kTrampolineClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object));
    std::string failure;
    if (FAILED(hr)) {
        failure = "the trampoline's object could not be created (" + Hex(hr) + ")";
    } else {
        RECT area = {0, 0, 10, 10};
        hr = object->DoVerb(verb, nullptr, nullptr, 0, pane, &area);
        object->Release();
        if (FAILED(hr))
            failure = "the trampoline refused verb " + std::to_string(verb) + " (" + Hex(hr) + ")";
    }
    if (failure.empty() && !PumpUntil([&] { return !g_arrived.empty(); }, 5000))
        failure = "the trampoline's verb did not reach the show's message window";
    else if (failure.empty() && g_arrived.front() != WPARAM(verb))
        failure = "the show's message window received verb " + std::to_string(g_arrived.front()) + ", not " +
                  std::to_string(verb);
    UnhookWindowsHookEx(hook);
    g_watched = nullptr;
    return failure;
}
