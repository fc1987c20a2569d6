// Window objects on the device: a subclassed control's table sees its messages
// first, a superclassed one sees even its creation, default processing runs
// for what a table does not take and for a handler that asks for it, and the
// creation hook shapes the window and its class.
#include "ProgramFixture.h"

#include "framework/StaticText.h"
#include "framework/Window.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Resources.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/WindowManager.h"

namespace {

class WindowTest : public ProgramFixture {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    }

    // How many of the window's messages of that id arrived by each way.
    static int Arrivals(const sim::MessageLog& messages, HWND window, UINT message,
                        sim::Arrival arrival) {
        int count = 0;
        for (const auto& m : messages.Of(window)) {
            count += m.message == message && m.arrival == arrival ? 1 : 0;
        }
        return count;
    }
};

TEST_F(WindowTest, ASubclassedControlsTableSeesItsMessagesBeforeTheControl) {
    // The tap is not in the subclass's table: the edit itself takes the focus.
    TapCentre(log.edit);
    ASSERT_NE(device->Windows().Focus(), nullptr);
    ASSERT_EQ(device->Windows().Focus()->handle, log.edit);

    // The subclass passes digits on and keeps everything else from the edit.
    Type(u"a1b2");
    EXPECT_EQ(TextOf(log.edit), u"12");
    EXPECT_TRUE(log.Has("edit:refused:a"));
    EXPECT_TRUE(log.Has("edit:refused:b"));
}

TEST_F(WindowTest, ASuperclassedSliderSetsItselfUpAfterTheTrackbarsCreation) {
    ASSERT_TRUE(log.Has("slider:created"));
    EXPECT_EQ(SendMessageW(log.slider, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(log.slider, TBM_GETRANGEMAX, 0, 0), 65535);
    EXPECT_EQ(SendMessageW(log.slider, TBM_GETPOS, 0, 0), 300);

    // Everything else is the trackbar's: a tap near its right end moves it and
    // tells the parent.
    const RECT rect = ScreenRect(log.slider);
    Tap(POINT{rect.right - 3, (rect.top + rect.bottom) / 2});
    const auto position = SendMessageW(log.slider, TBM_GETPOS, 0, 0);
    EXPECT_GT(position, 300);
    EXPECT_TRUE(log.Has("view:slider:" + std::to_string(position))) << Diagnostics();
}

TEST_F(WindowTest, ASubclassedHostedControlGetsOnlyWhatItsObjectPassesOn) {
    ASSERT_NE(log.control, nullptr) << Diagnostics();
    TapClient(log.control, POINT{20, 20});
    EXPECT_EQ(log.controlTaps, 1);
    TapClient(log.control, POINT{80, 20});
    EXPECT_EQ(log.controlTaps, 1);
    EXPECT_TRUE(log.Has("control:kept"));
}

TEST_F(WindowTest, AStaticTextIsTheDevicesStaticWithAnObject) {
    ASSERT_NE(log.label, nullptr);
    EXPECT_EQ(TextOf(log.label), u"Label");
    framework::Window* object = nullptr;
    ASSERT_TRUE(device->RunOnProgram(*program, [&] {
        object = framework::Window::FromHandle(log.label);
        if (object != nullptr) {
            object->SetWindowText(u"Changed");
        }
    }));
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(TextOf(log.label), u"Changed");
}

// An object that goes before its window takes the window with it; one that
// lets go of a subclassed window gives it back its own procedure.
TEST_F(WindowTest, AnObjectThatGoesFirstTakesItsWindowAlongAndDetachRestoresTheProcedure) {
    HWND label = nullptr;
    bool aliveInScope = false;
    HWND plain = nullptr;
    LONG_PTR ownProcedure = 0;
    LONG_PTR restored = 0;
    framework::Window* afterDetach = nullptr;
    ASSERT_TRUE(device->RunOnProgram(*program, [&] {
        {
            framework::StaticText text;
            text.Create(u"Short-lived", WS_CHILD | WS_VISIBLE, RECT{0, 200, 100, 220}, log.view,
                        20);
            label = text.Handle();
            aliveInScope = IsWindow(label) != FALSE;
        }
        plain = CreateWindowExW(0, WC_STATICW, u"plain", WS_CHILD, 0, 0, 10, 10, log.view, nullptr,
                                nullptr, nullptr);
        ownProcedure = GetWindowLongW(plain, GWL_WNDPROC);
        framework::Window wrapper;
        wrapper.Subclass(plain);
        wrapper.Detach();
        restored = GetWindowLongW(plain, GWL_WNDPROC);
        afterDetach = framework::Window::FromHandle(plain);
    }));
    EXPECT_TRUE(aliveInScope);
    EXPECT_FALSE(IsWindow(label));
    EXPECT_EQ(restored, ownProcedure);
    EXPECT_EQ(afterDetach, nullptr);
    // The wrapper was detached: its going left the window alone.
    EXPECT_TRUE(IsWindow(plain));
}

TEST_F(WindowTest, DefaultProcessingRunsForUnhandledMessagesAndWhenAHandlerAsks) {
    const auto messages = device->Recorders().Record({log.view}, true);
    TapClient(log.view, POINT{160, 150});
    ASSERT_TRUE(log.Has("view:tap:160,150"));
    // The handler asked for default processing; the release has no entry.
    EXPECT_EQ(Arrivals(*messages, log.view, WM_LBUTTONDOWN, sim::Arrival::Default), 1);
    EXPECT_EQ(Arrivals(*messages, log.view, WM_LBUTTONUP, sim::Arrival::Default), 1);

    // A paint handler that does its own painting leaves default processing out.
    messages->Clear();
    ASSERT_TRUE(device->RunOnProgram(*program, [&] { InvalidateRect(log.view, nullptr, TRUE); }));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(messages->Received(log.view, WM_PAINT));
    EXPECT_EQ(Arrivals(*messages, log.view, WM_PAINT, sim::Arrival::Default), 0);
}

TEST_F(WindowTest, TheCreationHookShapesTheWindowAndItsClass) {
    // The frame asked for a border; the view's hook took it away.
    const sim::Window* view = device->Windows().Find(log.view);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->style & WS_BORDER, 0u);
    EXPECT_NE(view->style & WS_CHILD, 0u);
    // The class the framework registered has the hook's traits.
    EXPECT_EQ(view->windowClass->style, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
    EXPECT_NE(view->windowClass->cursor, nullptr);
    EXPECT_NE(view->windowClass->background, nullptr);
    // The frame's class is another, with the frame's traits.
    const sim::Window* frame = device->Windows().Find(log.frame);
    ASSERT_NE(frame, nullptr);
    EXPECT_NE(frame->windowClass, view->windowClass);
    EXPECT_EQ(frame->windowClass->style, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

TEST_F(WindowTest, MapsTheProgramsWindowsToTheirObjects) {
    framework::Window* viewObject = nullptr;
    framework::Window* editObject = nullptr;
    framework::Window* barObject = nullptr;
    ASSERT_TRUE(device->RunOnProgram(*program, [&] {
        viewObject = framework::Window::FromHandle(log.view);
        editObject = framework::Window::FromHandle(log.edit);
        barObject = framework::Window::FromHandle(log.bar);
    }));
    ASSERT_NE(viewObject, nullptr);
    EXPECT_EQ(viewObject->Handle(), log.view);
    ASSERT_NE(editObject, nullptr);
    EXPECT_EQ(editObject->Handle(), log.edit);
    // The shell's bar has no object of the program's.
    EXPECT_EQ(barObject, nullptr);
    // Nor does any window seen from another thread.
    EXPECT_EQ(framework::Window::FromHandle(log.view), nullptr);
}

} // namespace
