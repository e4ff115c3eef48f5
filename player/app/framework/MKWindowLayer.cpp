#include "player/app/framework/MKWindowLayer.h"

#include <string.h>

bool preferTahoma = false;
bool fontToChildren = false;

namespace {

HFONT g_dialogFont = nullptr;
bool g_fontsMade = false;
MKMessageBoxHandler g_messageBox = nullptr;

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(const char* face)
{
    HDC screen = GetDC(nullptr);
    LOGFONTA probe = {};
    probe.lfCharSet = DEFAULT_CHARSET;
    probe.lfHeight = GetMapMode(screen) == MM_TEXT ? -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72) : -8;
    probe.lfWeight = FW_NORMAL;
    probe.lfQuality = PROOF_QUALITY;
    probe.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynA(probe.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExA(screen, &probe, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

HFONT MakeDialogFont()
{
    HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA font = {};
    if (!gui || !GetObjectA(gui, sizeof font, &font))
        return nullptr;
    if (preferTahoma && FaceInstalled("Tahoma")) {
        lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    } else if (lstrcmpiA(font.lfFaceName, "MS Shell Dlg") == 0) {
        lstrcpynA(font.lfFaceName, "MS Shell Dlg 2", LF_FACESIZE);
    }
    return CreateFontIndirectA(&font);
}

bool WindowLayerStart()
{
    GetDialogFont();
    return true;
}

void WindowLayerEnd()
{
    if (g_dialogFont)
        DeleteObject(g_dialogFont);
    g_dialogFont = nullptr;
    g_fontsMade = false;
}

HFONT GetDialogFont()
{
    if (!g_fontsMade) {
        g_dialogFont = MakeDialogFont();
        g_fontsMade = true;
    }
    return g_dialogFont;
}

namespace {

struct FontMessage {
    HFONT font;
    bool redraw;
};

BOOL CALLBACK SetChildFont(HWND child, LPARAM argument)
{
    auto* message = reinterpret_cast<FontMessage*>(argument);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(message->font), message->redraw);
    return TRUE;
}

}  // namespace

void SetFontOnChildren(HWND window, HFONT font, bool redraw)
{
    FontMessage message = {font ? font : GetDialogFont(), redraw};
    EnumChildWindows(window, &SetChildFont, reinterpret_cast<LPARAM>(&message));
}

void SetMessageBoxHandler(MKMessageBoxHandler handler)
{
    g_messageBox = handler;
}

int ShowMessage(const char* text, UINT type, UINT helpId)
{
    if (g_messageBox)
        return g_messageBox(text, type, helpId);
    return MessageBoxA(GetActiveWindow(), text, nullptr, type);
}
