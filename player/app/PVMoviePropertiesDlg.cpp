#include "player/app/PVMoviePropertiesDlg.h"

#include "player/app/CDravoPlayerView.h"
#include "player/app/FlashRenderer.h"
#include "player/app/PVMovieProperties.h"
#include "player/app/PVPlayerCommands.h"

namespace {

enum {
    kFieldLocation = 1003,
    kFieldPlayer = 1004,
    kFieldDimensions = 1005,
    kFieldRate = 1006,
    kFieldFrames = 1007,
    kFieldVersion = 1008,
    kFieldSize = 1009,
    kFieldLength = 1010,
    kFieldName = 1011,
};

MKString LoadText(UINT id)
{
    char text[128];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return MKString::MKStringFromChars(text, length > 0 ? length : 0);
}

int FileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
        data.nFileSizeLow > 0x7FFFFFFFu)
        return -1;
    return int(data.nFileSizeLow);
}

}  // namespace

PVMoviePropertiesDlg::PVMoviePropertiesDlg(CDravoPlayerView* view, const char* path, HWND parent)
    : MKCDialog(kResPropertiesDialog, parent), m_view(view), m_path(path ? path : "")
{
}

BOOL PVMoviePropertiesDlg::OnInitDialog()
{
    MKCDialog::OnInitDialog();
    const char* path = m_path.GetText();
    int width = 0;
    int height = 0;
    m_view->GetMovieSize(width, height);
    const float rate = float(m_view->GetFrameRate());
    const int frames = m_view->GetFrameCount();
    SetDlgItemTextA(m_window, kFieldName, PVFormatFileName(path).GetText());
    SetDlgItemTextA(m_window, kFieldDimensions, MKString::FromFormat("%d x %d", width, height).GetText());
    SetDlgItemTextA(m_window, kFieldRate, MKString::FromFormat("%d frames per second", int(rate)).GetText());
    SetDlgItemTextA(m_window, kFieldFrames, MKString::FromFormat("%d frames", frames).GetText());
    SetDlgItemTextA(m_window, kFieldVersion,
                    MKString::FromFormat("Requires Flash %d or higher", m_view->GetMovieVersion()).GetText());
    SetDlgItemTextA(m_window, kFieldSize, PVFormatFileSize(FileSize(path)).GetText());
    MKString length = PVFormatDuration(frames, rate, LoadText(kStrHours).GetText(), LoadText(kStrMinutes).GetText(),
                                       LoadText(kStrSeconds).GetText());
    SetDlgItemTextA(m_window, kFieldLength, length.GetText());
    SetDlgItemTextA(m_window, kFieldLocation, PVFormatLocation(path).GetText());
    MKString player = "Experimental Hardware Acceleration";
    if (m_view->UsesFlash()) {
        player = "Flash Player ";
        player.AppendString(m_view->FlashRendererObject()->GetPlayerVersionText());
    }
    SetDlgItemTextA(m_window, kFieldPlayer, player.GetText());
    return TRUE;
}
