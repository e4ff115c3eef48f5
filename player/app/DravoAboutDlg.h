#pragma once
#include "player/app/CPVLabel.h"
#include "player/app/framework/MKCDialog.h"

// About (dialog 100): the product name with its version and two links, to
// the maker's and to the Flash Player maker's web pages.
class DravoAboutDlg : public MKCDialog {
public:
    explicit DravoAboutDlg(HWND parent);

protected:
    BOOL OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CPVLabel m_makerLink;
    CPVLabel m_flashLink;
};
