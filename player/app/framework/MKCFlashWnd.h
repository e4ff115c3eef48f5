#pragma once
#include "base/MKString.h"

#include <windows.h>
#include <oaidl.h>

class MKCFlashHooked;
class MKControlSite;

// The window that hosts the Flash Player control: creates the control in a
// parent window of ours, hooks the control's window (MKCFlashHooked: right
// clicks never reach it while BlocksRightButton), wraps the dispatch members
// the programs call and works out the installed player's version, once per
// object. Dispatch calls on a window without a control do nothing and answer
// 0 or false. UI thread only.
class MKCFlashWnd {
public:
    MKCFlashWnd();
    ~MKCFlashWnd();
    MKCFlashWnd(const MKCFlashWnd&) = delete;
    MKCFlashWnd& operator=(const MKCFlashWnd&) = delete;

    // windowName is not used: the control has none. False (nothing kept, no
    // hook) when the control cannot be made.
    bool Create(const char* windowName, DWORD style, const RECT& rect, HWND parent, UINT id);
    void Destroy();

    HWND GetSafeHwnd() const { return m_window; }
    MKCFlashHooked* Hook() const { return m_hook; }
    bool BlocksRightButton() const { return m_blockRightButton; }
    void SetBlockRightButton(bool block) { m_blockRightButton = block; }
    void Move(const RECT& rect);

    bool GetPlaying();
    void SetMovie(const char* text);
    void SetLoop(bool on);
    void Play();
    void Stop();
    void GotoFrame(int frame);
    int CurrentFrame();
    int FlashVersion();
    // Property puts the slide movie control makes before it plays.
    void SetPlaying(bool on);
    void SetScaleMode(int mode);
    void SetBackgroundColor(int colour);
    void SetQuality2(const char* quality);

    // Whether the Flash class makes an instance here (OLE started for the
    // question); no window needed.
    static bool IsFlashControlAvailable();
    // "major.minor[.build[.revision]]", from the registry's record of the
    // installed player, else from the control's FlashVersion.
    const MKString& GetVersionText();

    // Splits at '.' and ','; 2 to 4 parts, the first two decimal numbers of 0
    // or more; a third or fourth part that is no such number gives -1. All four
    // are -1 when false.
    static bool ParseVersion(const char* text, int& major, int& minor, int& build, int& revision);

private:
    bool ReadVersionFromRegistry();
    void EnsureVersion();
    // The control's member by DISPID; false when there is no control or the
    // call fails. result may be null.
    bool Call(DISPID id, WORD kind, VARIANT* argument, VARIANT* result);
    // A method's 32-bit answer; 0 when the call fails.
    int CallForInt(DISPID id);

    MKControlSite* m_site = nullptr;
    HWND m_window = nullptr;
    MKCFlashHooked* m_hook = nullptr;
    bool m_blockRightButton = true;
    int m_major = -1;
    int m_minor = -1;
    int m_build = -1;
    int m_revision = -1;
    MKString m_versionText;
};
