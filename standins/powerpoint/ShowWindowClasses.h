#pragma once
#include <windows.h>
#include <string>

namespace standin {

class SlideShowWindowObject;

// Creates the show's unowned top-level window of class "screenClass" with the
// title, holding its pane of class "paneClassDC" (titled "Slide Show" when
// asked, else untitled); both classes are registered once in the process's
// module. The show learns both handles while the window is being created.
// Speaker and kiosk shows fill the screen; windowed shows get a framed window.
// False when either window cannot be made.
bool CreateShowWindows(SlideShowWindowObject* show, const std::wstring& title, long showType, bool titledPane);

// Destroys the window and its pane without telling the show.
void DestroyShowWindows(HWND window);

}  // namespace standin
