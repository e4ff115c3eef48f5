#pragma once
#include <windows.h>

class PVPlaybackView;
class PVUIFeedBack;

// What the view needs of the application and its main frame: the document's
// path and the document commands, the Goodies menu, the main window with its
// bars, and the frame's playback feedback.
class PVViewHost {
public:
    // Empty without a movie.
    virtual const char* DocumentPath() const = 0;
    // The new-document command: the movie closes and the view shows nothing.
    virtual void NewDocument() = 0;
    virtual bool OpenDocument(const char* path) = 0;
    virtual bool DeletesMovieAtExit() const = 0;
    virtual void ShowGoodiesMenu(bool remove) = 0;

    // Shows the main window the first time with the start-up show command.
    virtual void ShowMainWindow() = 0;
    virtual HWND MainWindow() const = 0;
    virtual HWND ToolBarWindow() const = 0;
    virtual HWND StatusBarWindow() const = 0;
    virtual void RecalcLayout() = 0;
    virtual void SetMessageText(const char* text) = 0;
    // The frame's feedback, bound to the view and the frame's bars.
    virtual PVUIFeedBack* BindFeedback(PVPlaybackView* view) = 0;

protected:
    ~PVViewHost() = default;
};
