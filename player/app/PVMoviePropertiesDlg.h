#pragma once
#include "base/MKString.h"
#include "player/app/framework/MKCDialog.h"

class CDravoPlayerView;

// Movie Properties (dialog 101): file name, size in pixels, rate, frame
// count, SWF version, file size, length, folder and the renderer that plays
// it, in read-only edits. The view must outlive the dialog.
class PVMoviePropertiesDlg : public MKCDialog {
public:
    PVMoviePropertiesDlg(CDravoPlayerView* view, const char* path, HWND parent);

protected:
    BOOL OnInitDialog() override;

private:
    CDravoPlayerView* m_view;
    MKString m_path;
};
