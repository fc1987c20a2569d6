// The frame window: a top-level window loaded from a resource id (title string,
// accelerator table), with its view, the child window of id kViewId that it
// lays out over its client area and that sees every command first. The frame
// made the application's main window belongs to its window once that exists,
// and is released after the window's last message.
#pragma once

#include "framework/Window.h"
#include "platform/Input.h"

namespace framework {

class Application;

class FrameWindow : public Window {
public:
    // The view's window id.
    static constexpr UINT kViewId = 0xE900;

    FrameWindow() = default;
    ~FrameWindow() override;

    // Creates the frame from resource id: its title is string id, its
    // accelerator table (if there is one) is table id, translated in the
    // message loop for the frame and its children.
    bool LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr);

    // The view: the framework window among the frame's children with id
    // kViewId, or null.
    Window* View() const;
    // The application whose main window this is, or null.
    Application* GetApplication() const { return application; }

    // The view's table, then the frame's, then the application's.
    bool RouteCommand(const Message& command) override;
    bool PreTranslateMessage(MSG& message) override;

protected:
    // A class with double clicks, redraw on resizing, the arrow cursor and the
    // window colour.
    bool PreCreateWindow(CreateParams& params) override;
    const MessageTable& Messages() const override;
    // The end of the main window's window posts the quit message (code 0), at
    // once, so that a quit code posted after it by the same handler wins.
    LRESULT WindowProc(const Message& message) override;
    void PostNcDestroy() override;

    // Default processing, then the view over the whole client area.
    void OnSize(UINT type, int width, int height);
    // The focus goes on to the view.
    void OnSetFocus(HWND previous);

private:
    friend class Application;

    // Set while this is the main window of application.
    Application* application = nullptr;
    // The frame belongs to its window (see Application::SetMainWindow).
    bool ownedByWindow = false;
    HACCEL accelerators = nullptr;
};

// The main window of the calling program's application: its framework frame
// window that is the application's main window; null when there is none.
FrameWindow* FindMainWindow();

} // namespace framework
