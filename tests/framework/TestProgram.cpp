#include "TestProgram.h"

#include <algorithm>
#include <memory>

#include "TestIds.h"
#include "framework/Application.h"
#include "framework/ChildWindow.h"
#include "framework/CommandBar.h"
#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/Menu.h"
#include "framework/MessageBox.h"
#include "framework/Slider.h"
#include "framework/StaticText.h"
#include "platform/Controls.h"
#include "platform/Painting.h"
#include "platform/Resources.h"
#include "platform/Text.h"

namespace testprogram {

bool ProgramLog::Has(std::string_view event) const {
    return Count(event) > 0;
}

int ProgramLog::Count(std::string_view event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
}

std::string ProgramLog::Joined() const {
    std::string joined;
    for (const auto& event : events) {
        joined += joined.empty() ? "" : ", ";
        joined += event;
    }
    return joined;
}

namespace {

using framework::Table;

// An edit box that takes digits only: its table sees the typed characters
// before the edit does and passes on only the digits.
class DigitsOnlyEdit : public framework::Window {
public:
    explicit DigitsOnlyEdit(ProgramLog& log) : log(log) {}

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<DigitsOnlyEdit>;
        static const T table{Window::Messages(), {T::Char(&DigitsOnlyEdit::OnChar)}};
        return table;
    }

private:
    void OnChar(UINT character, UINT, UINT) {
        if (character >= u'0' && character <= u'9') {
            Default();
            return;
        }
        log.events.push_back("edit:refused:" + std::string(1, static_cast<char>(character)));
    }

    ProgramLog& log;
};

// A slider that sets its range in its own creation handler, after the
// trackbar's creation.
class WideSlider : public framework::Slider {
public:
    explicit WideSlider(ProgramLog& log) : log(log) {}

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<WideSlider>;
        static const T table{Slider::Messages(), {T::Create(&WideSlider::OnCreate)}};
        return table;
    }

private:
    bool OnCreate(const CREATESTRUCTW&) {
        if (Default() == -1) {
            return false;
        }
        SetRangeMin(0);
        SetRangeMax(65535);
        SetPos(300);
        log.events.push_back("slider:created");
        return true;
    }

    ProgramLog& log;
};

class TapCounter : public HostedControl {
public:
    explicit TapCounter(ProgramLog& log) : log(log) {}

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LBUTTONDOWN) {
            ++log.controlTaps;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HRESULT Invoke(DISPID, WORD, std::span<const Variant>, Variant&) override {
        return DISP_E_MEMBERNOTFOUND;
    }
    const char* OperationName(DISPID, WORD) const override { return nullptr; }
    std::string StateJson() const override { return "{}"; }

private:
    ProgramLog& log;
};

// Wraps the hosted control by subclassing: presses on its left half go on to
// the control, the others stop here.
class LeftHalfOnly : public framework::Window {
public:
    explicit LeftHalfOnly(ProgramLog& log) : log(log) {}

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<LeftHalfOnly>;
        static const T table{Window::Messages(), {T::LButtonDown(&LeftHalfOnly::OnLButtonDown)}};
        return table;
    }

private:
    void OnLButtonDown(UINT, POINT point) {
        if (point.x < GetClientRect().right / 2) {
            Default();
            return;
        }
        log.events.push_back("control:kept");
    }

    ProgramLog& log;
};

class FormDialog : public framework::Dialog {
public:
    FormDialog(ProgramLog& log, const FormValues& preset) : Dialog(IDD_FORM), log(log) {
        values = preset;
    }

    FormValues values;

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<FormDialog>;
        static const T table{Dialog::Messages(),
                             {T::Raw(WM_APP + 1, &FormDialog::OnGoAway),
                              T::Control(IDC_FORM_LIST, LBN_SELCHANGE, &FormDialog::OnListPick)}};
        return table;
    }

    bool OnInitDialog() override {
        log.form = Handle();
        for (const char16_t* item : {u"red", u"green", u"blue"}) {
            SendDlgItemMessageW(Handle(), IDC_FORM_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(item));
        }
        for (const char16_t* item : {u"one", u"two", u"three"}) {
            SendDlgItemMessageW(Handle(), IDC_FORM_CHOICE, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(item));
        }
        Dialog::OnInitDialog();
        CreateSoftKeyBar(IDR_OKCANCEL);
        log.formBar = SoftKeyBar();
        return true;
    }

    void DoDataExchange(framework::DataExchange& dx) override {
        dx.Text(IDC_FORM_NAME, values.name);
        dx.Integer(IDC_FORM_COUNT, values.count);
        dx.Integer(IDC_FORM_SHOWN, values.shown);
        dx.Check(IDC_FORM_FLAG, values.flag);
        dx.ListIndex(IDC_FORM_LIST, values.listIndex);
        dx.ComboIndex(IDC_FORM_CHOICE, values.choiceIndex);
    }

private:
    // Someone destroys the dialog without ending it.
    LRESULT OnGoAway(const framework::Message&) {
        DestroyWindow();
        return 0;
    }
    void OnListPick() { log.events.push_back("form:list-pick"); }

    ProgramLog& log;
};

class TestView : public framework::ChildWindow {
public:
    TestView(ProgramLog& log, const Behaviour& behaviour)
        : log(log), behaviour(behaviour), edit(log), slider(log), control(log) {}

protected:
    bool PreCreateWindow(framework::CreateParams& params) override {
        if (!ChildWindow::PreCreateWindow(params)) {
            return false;
        }
        params.style &= ~WS_BORDER;
        params.traits.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        return true;
    }

    const framework::MessageTable& Messages() const override {
        using T = Table<TestView>;
        static const T table{ChildWindow::Messages(),
                             {T::Create(&TestView::OnCreate), T::Paint(&TestView::OnPaint),
                              T::LButtonDown(&TestView::OnLButtonDown),
                              T::Command(ID_VIEW_AND_FRAME, &TestView::OnViewAndFrame),
                              T::Command(ID_VIEW_DECLINES, &TestView::OnDeclines),
                              T::CommandRange(ID_MODE_FIRST, ID_MODE_LAST, &TestView::OnMode),
                              T::Command(ID_OPEN_FORM, &TestView::OnOpenForm),
                              T::Command(ID_POPUP, &TestView::OnPopup),
                              T::Command(ID_MESSAGE, &TestView::OnMessage),
                              T::HScroll(&TestView::OnHScroll)}};
        return table;
    }

private:
    bool OnCreate(const CREATESTRUCTW&) {
        log.view = Handle();
        const HWND editWindow =
            CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 100, 20,
                            Handle(), reinterpret_cast<HMENU>(UINT_PTR{10}), nullptr, nullptr);
        edit.Subclass(editWindow);
        log.edit = edit.Handle();
        slider.Create(WS_CHILD | WS_VISIBLE, RECT{10, 40, 200, 66}, Handle(), 11);
        log.slider = slider.Handle();
        label.Create(u"Label", WS_CHILD | WS_VISIBLE, RECT{120, 10, 200, 30}, Handle(), 12);
        log.label = label.Handle();
        const HWND hosted = CreateControlWindow(kTapCounterClassId, u"", WS_VISIBLE,
                                                RECT{10, 80, 110, 130}, Handle(), 13);
        if (hosted != nullptr && control.Subclass(hosted)) {
            log.control = hosted;
        }
        return true;
    }
    void OnPaint() { framework::PaintScope paint(*this); }
    // Logs the tap, then asks for default processing.
    void OnLButtonDown(UINT, POINT point) {
        log.events.push_back("view:tap:" + std::to_string(point.x) + "," + std::to_string(point.y));
        Default();
    }
    void OnViewAndFrame() { log.events.push_back("view:view-and-frame"); }
    bool OnDeclines() {
        log.events.push_back("view:declined");
        return false;
    }
    void OnMode(UINT id) { log.events.push_back("view:mode:" + std::to_string(id)); }
    void OnOpenForm() {
        FormDialog form(log, behaviour.formPreset);
        log.formResult = form.DoModal();
        log.formEnded = true;
        log.formValues = form.values;
    }
    void OnPopup() {
        POINT at{20, 20};
        ClientToScreen(Handle(), &at);
        log.events.push_back(framework::TrackPopupFromResource(IDR_TESTFRAME, 0, at, Handle())
                                 ? "view:popup-done"
                                 : "view:popup-failed");
    }
    void OnMessage() { log.messageBoxResult = framework::ShowMessageBox(IDS_GREETING); }
    void OnHScroll(UINT, UINT, HWND sender) {
        if (sender == slider.Handle()) {
            log.events.push_back("view:slider:" + std::to_string(slider.GetPos()));
        }
    }

    ProgramLog& log;
    const Behaviour& behaviour;
    DigitsOnlyEdit edit;
    WideSlider slider;
    framework::StaticText label;
    LeftHalfOnly control;
};

class TestFrame : public framework::FrameWindow {
public:
    TestFrame(ProgramLog& log, const Behaviour& behaviour)
        : log(log), behaviour(behaviour), view(log, behaviour) {}
    ~TestFrame() override { log.frameReleased = true; }

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<TestFrame>;
        static const T table{FrameWindow::Messages(),
                             {T::Create(&TestFrame::OnCreate), T::Destroy(&TestFrame::OnDestroy),
                              T::InitMenuPopup(&TestFrame::OnInitMenuPopup),
                              T::Command(ID_VIEW_AND_FRAME, &TestFrame::OnViewAndFrame),
                              T::Command(ID_FRAME_AND_APP, &TestFrame::OnFrameAndApp),
                              T::Command(ID_VIEW_DECLINES, &TestFrame::OnDeclinedByView),
                              T::Command(ID_EXIT, &TestFrame::OnExit)}};
        return table;
    }

private:
    bool OnCreate(const CREATESTRUCTW&) {
        log.frame = Handle();
        if (Default() == -1 || behaviour.startup == Behaviour::Startup::FailFrameCreation) {
            return false;
        }
        if (!view.Create(u"", WS_CHILD | WS_VISIBLE | WS_BORDER, RECT{}, Handle(), kViewId)) {
            log.events.push_back("frame:no-view");
            return false;
        }
        if (!bar.Create(Handle(), IDR_TESTFRAME)) {
            log.events.push_back("frame:no-bar");
            return false;
        }
        if (!bar.AddToolbarButtons(IDR_TOOLBAR)) {
            log.events.push_back("frame:no-toolbar");
            return false;
        }
        log.bar = bar.Handle();
        return true;
    }
    void OnDestroy() {
        log.events.push_back("frame:destroy");
        Default();
    }
    void OnInitMenuPopup(HMENU popup, UINT, bool) {
        log.lastPopup = popup;
        framework::SetMenuCheck(popup, ID_VIEW_AND_FRAME, true);
        framework::SetMenuRadioByPosition(GetSubMenu(popup, 2), 0, 3, 2);
        Default();
    }
    void OnViewAndFrame() { log.events.push_back("frame:view-and-frame"); }
    void OnFrameAndApp() { log.events.push_back("frame:frame-and-app"); }
    void OnDeclinedByView() { log.events.push_back("frame:declined"); }
    void OnExit() {
        DestroyWindow();
        PostQuitMessage(behaviour.exitCode);
    }

    ProgramLog& log;
    const Behaviour& behaviour;
    TestView view;
    framework::CommandBar bar;
};

class TestApp : public framework::Application {
public:
    TestApp(ProgramLog& log, Behaviour behaviour) : log(log), behaviour(std::move(behaviour)) {}

protected:
    const framework::MessageTable& Messages() const override {
        using T = Table<TestApp>;
        static const T table{Application::Messages(),
                             {T::Command(ID_FRAME_AND_APP, &TestApp::OnFrameAndApp),
                              T::Command(ID_APP_ONLY, &TestApp::OnAppOnly)}};
        return table;
    }

    bool InitApplication() override {
        log.events.push_back("app:init-application");
        return behaviour.startup != Behaviour::Startup::FailApplication;
    }

    bool InitInstance() override {
        log.events.push_back("app:init-instance");
        log.commandLine = CommandLine();
        if (behaviour.startup == Behaviour::Startup::EndStartup) {
            return EndStartup(behaviour.startupCode);
        }
        if (behaviour.startup == Behaviour::Startup::FailInstance) {
            return false;
        }
        EnableControlHosting();
        auto& frame = SetMainWindow(std::make_unique<TestFrame>(log, behaviour));
        log.frameLoaded = frame.LoadFrame(IDR_TESTFRAME, WS_OVERLAPPEDWINDOW);
        // As a program that does not look at the result would.
        frame.ShowWindow(SW_SHOW);
        frame.UpdateWindow();
        return true;
    }

    int ExitInstance() override {
        log.events.push_back("app:exit");
        return Application::ExitInstance();
    }

private:
    void OnFrameAndApp() { log.events.push_back("app:frame-and-app"); }
    void OnAppOnly() { log.events.push_back("app:app-only"); }

    ProgramLog& log;
    Behaviour behaviour;
};

} // namespace

HostedControlFactory TapCounterFactory(ProgramLog& log) {
    return [&log] { return std::make_unique<TapCounter>(log); };
}

std::function<int(HINSTANCE, LPWSTR)> Entry(ProgramLog& log, Behaviour behaviour) {
    return [&log, behaviour](HINSTANCE instance, LPWSTR commandLine) {
        TestApp app(log, behaviour);
        return framework::RunProgram(app, instance, commandLine);
    };
}

} // namespace testprogram
