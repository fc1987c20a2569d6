// The test's own connection to an X display, as a window system's other
// clients see the program's window. An X error a request meets, and the loss
// of the connection, are kept for the test to see instead of ending the process
// the way Xlib's default handlers do (which would leave the test's servers and
// players running).
#pragma once

#include <chrono>
#include <memory>
#include <string>

// Last in any file that includes it: Xlib's macros (None, Status, Bool...)
// must not meet the headers before it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace host::testing {

struct XImageDeleter {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using XImagePtr = std::unique_ptr<XImage, XImageDeleter>;

class XClient {
public:
    explicit XClient(const std::string& displayName);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool Connected() const { return display != nullptr && !lost; }
    Display* Get() const { return display; }
    Window Root() const { return DefaultRootWindow(display); }

    // The errors X reported since the last call (after a round trip), and
    // the error code of the last of them.
    int TakeErrors(unsigned char* lastCode = nullptr);

    // The first window with this name, or 0.
    Window FindNamedWindow(const std::string& name);
    // Waits up to limit for a window with this name; 0 if none came.
    Window AwaitNamedWindow(const std::string& name, std::chrono::milliseconds limit);
    // The window's top-left width x height pixels. A window that went away
    // meanwhile is looked for again by its name (window systems' clients may
    // replace their windows) until limit; window follows it. Null if no image
    // could be taken in that time.
    XImagePtr Capture(Window& window, const std::string& name, int width, int height,
                      std::chrono::milliseconds limit);

private:
    static void KeepLoss(Display* display, void* client);

    Display* display = nullptr;
    XErrorHandler previousHandler = nullptr;
    XIOErrorHandler previousIoHandler = nullptr;
    bool lost = false;
};

} // namespace host::testing
