// Controls created by class id: hosting must be enabled and the class
// installed; the control gets every message of its window and goes after
// WM_NCDESTROY; dispatch calls are journaled under the operation's name.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/ControlHost.h"
#include "platform/Program.h"

namespace {

using simtest::DeviceTest;

constexpr char16_t kClassId[] = u"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
constexpr DISPID kUrl = 102;
constexpr DISPID kReadyState = -525;

// What the test control saw, kept outside it so that the test can look after
// the control is gone.
struct ControlLog {
    std::vector<UINT> messages;
    bool destroyed = false;
    bool sawNcDestroyBeforeGoing = false;
    std::u16string url;
};

class TestControl : public HostedControl {
public:
    explicit TestControl(ControlLog& log) : log(log) {}
    ~TestControl() override {
        log.sawNcDestroyBeforeGoing = !log.messages.empty() && log.messages.back() == WM_NCDESTROY;
        log.destroyed = true;
    }

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        log.messages.push_back(message);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HRESULT Invoke(DISPID id, WORD kind, std::span<const Variant> args, Variant& result) override {
        if (id == kUrl && kind == DISPATCH_PROPERTYPUT && args.size() == 1) {
            return args[0].ToText(log.url) ? S_OK : DISP_E_TYPEMISMATCH;
        }
        if (id == kReadyState && kind == DISPATCH_PROPERTYGET) {
            result = Variant::Int(4);
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    const char* OperationName(DISPID id, WORD kind) const override {
        if (id == kUrl && kind == DISPATCH_PROPERTYPUT) {
            return "SetMovieUrl";
        }
        if (id == kReadyState && kind == DISPATCH_PROPERTYGET) {
            return "GetReadyState";
        }
        return nullptr;
    }

    std::string StateJson() const override { return "{}"; }

private:
    ControlLog& log;
};

class ControlHostingTest : public DeviceTest {
protected:
    ControlLog log;
    simtest::Handler plain;
};

TEST_F(ControlHostingTest, ControlNeedsHostingEnabledAndItsClassInstalled) {
    HWND withoutHosting = reinterpret_cast<HWND>(1);
    HWND unknownClass = reinterpret_cast<HWND>(1);
    DWORD unknownError = 0;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        const HWND view = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        withoutHosting =
            CreateControlWindow(kClassId, u"Vantrel", WS_VISIBLE, RECT{0, 0, 10, 10}, view, 9907);
        EnableControlHosting();
        unknownClass =
            CreateControlWindow(kClassId, u"Vantrel", WS_VISIBLE, RECT{0, 0, 10, 10}, view, 9907);
        unknownError = GetLastError();
    });
    EXPECT_EQ(withoutHosting, nullptr);
    EXPECT_EQ(unknownClass, nullptr);
    EXPECT_EQ(unknownError, ERROR_CLASS_DOES_NOT_EXIST);
    const auto journal = automation->Journal("CreateControlWindow");
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_TRUE(journal[1].result == sim::JournalValue(0));
}

TEST_F(ControlHostingTest, ControlGetsItsWindowsMessagesAndCallsAreJournaled) {
    // Installed in lower case: class ids compare without regard to case.
    RegisterControlClass(u"{d27cdb6e-ae6d-11cf-96b8-444553540000}",
                         [this] { return std::make_unique<TestControl>(log); });
    HWND view = nullptr;
    HWND control = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        view = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        EnableControlHosting();
        control =
            CreateControlWindow(kClassId, u"Vantrel", WS_VISIBLE, RECT{0, 0, 240, 200}, view, 9907);
    });
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsControlWindow(control));
    EXPECT_FALSE(IsControlWindow(view));
    EXPECT_EQ(GetDlgCtrlID(control), 9907);
    ASSERT_GE(log.messages.size(), 3u);
    EXPECT_EQ(log.messages[0], WM_NCCREATE);
    EXPECT_NE(std::find(log.messages.begin(), log.messages.end(), WM_CREATE), log.messages.end());

    HRESULT put = E_FAIL;
    HRESULT get = E_FAIL;
    HRESULT missing = S_OK;
    Variant state;
    OnProgram(program, [&] {
        const Variant url = Variant::Text(u"file://\\a.swf");
        put = InvokeControl(control, kUrl, DISPATCH_PROPERTYPUT, std::span(&url, 1), nullptr);
        get = InvokeControl(control, kReadyState, DISPATCH_PROPERTYGET, {}, &state);
        missing = InvokeControl(control, 999, DISPATCH_METHOD, {}, nullptr);
    });
    EXPECT_EQ(put, S_OK);
    EXPECT_EQ(log.url, u"file://\\a.swf");
    EXPECT_EQ(get, S_OK);
    EXPECT_EQ(state, Variant::Int(4));
    EXPECT_EQ(missing, DISP_E_MEMBERNOTFOUND);
    const auto journal = automation->Journal();
    std::vector<std::string> lines;
    for (const auto& entry : journal) {
        if (entry.call != "CreateControlWindow") {
            lines.push_back(entry.Json().substr(entry.Json().find("\"call\"")));
        }
    }
    const std::vector<std::string> expected = {
        R"("call": "SetMovieUrl", "args": ["file://\\a.swf"], "result": null, "dispid": 102})",
        R"("call": "GetReadyState", "args": [], "result": 4, "dispid": -525})",
        R"x("call": "Invoke(999)", "args": [], "result": "hr=0x80020003", "dispid": 999})x",
    };
    EXPECT_EQ(lines, expected);

    // The control goes with its window, after WM_NCDESTROY.
    OnProgram(program, [&] { DestroyWindow(control); });
    EXPECT_FALSE(IsControlWindow(control));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(log.destroyed);
    EXPECT_TRUE(log.sawNcDestroyBeforeGoing);
    EXPECT_EQ(InvokeControl(control, kReadyState, DISPATCH_PROPERTYGET, {}, nullptr), E_INVALIDARG);
}

} // namespace
