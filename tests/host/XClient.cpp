#include "XClient.h"

#include <atomic>
#include <thread>

namespace host::testing {
namespace {

// Xlib hands its error handler no context, so what it saw is kept here; the
// tests' X clients make their requests from one thread.
std::atomic<int> errorCount{0};
std::atomic<unsigned char> lastErrorCode{0};

int KeepError(Display*, XErrorEvent* error) {
    ++errorCount;
    lastErrorCode = error->error_code;
    return 0;
}

// Returning hands the loss to the connection's exit handler.
int PassLossOn(Display*) {
    return 0;
}

} // namespace

XClient::XClient(const std::string& displayName) {
    display = XOpenDisplay(displayName.c_str());
    if (display != nullptr) {
        previousHandler = XSetErrorHandler(KeepError);
        errorCount = 0;
        // Once the connection is lost, every request fails at once.
        previousIoHandler = XSetIOErrorHandler(PassLossOn);
        XSetIOErrorExitHandler(display, KeepLoss, this);
    }
}

void XClient::KeepLoss(Display*, void* client) {
    static_cast<XClient*>(client)->lost = true;
}

XClient::~XClient() {
    if (display != nullptr) {
        XCloseDisplay(display);
        XSetErrorHandler(previousHandler);
        XSetIOErrorHandler(previousIoHandler);
    }
}

int XClient::TakeErrors(unsigned char* lastCode) {
    if (lost) {
        return 1;
    }
    XSync(display, False);
    if (lastCode != nullptr) {
        *lastCode = lastErrorCode;
    }
    return errorCount.exchange(0);
}

Window XClient::FindNamedWindow(const std::string& name) {
    // Walks the tree from the root, depth first.
    const auto find = [&](auto& self, Window parent) -> Window {
        Window rootReturn = 0;
        Window parentReturn = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, parent, &rootReturn, &parentReturn, &children, &count) == 0) {
            return 0;
        }
        Window found = 0;
        for (unsigned i = 0; i < count && found == 0; ++i) {
            char* title = nullptr;
            if (XFetchName(display, children[i], &title) != 0 && title != nullptr) {
                if (name == title) {
                    found = children[i];
                }
                XFree(title);
            }
            if (found == 0) {
                found = self(self, children[i]);
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
        return found;
    };
    const Window found = find(find, Root());
    // A window that went away during the walk reports an error, not a fault.
    TakeErrors();
    return found;
}

Window XClient::AwaitNamedWindow(const std::string& name, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (const Window window = FindNamedWindow(name)) {
            return window;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

XImagePtr XClient::Capture(Window& window, const std::string& name, int width, int height,
                           std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (window != 0) {
            XImagePtr image(XGetImage(display, window, 0, 0, static_cast<unsigned>(width),
                                      static_cast<unsigned>(height), AllPlanes, ZPixmap));
            if (TakeErrors() == 0 && image != nullptr) {
                return image;
            }
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        window = FindNamedWindow(name);
    }
}

} // namespace host::testing
