// Message tables on their own: which entry takes a message, in what order, and
// how a table chains to its base class's. Windows on the device are in the
// window, frame and dialog tests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/MessageTable.h"
#include "platform/Controls.h"

namespace {

using framework::Message;
using framework::Table;

Message CommandMessage(WORD id, WORD code = 0, HWND control = nullptr) {
    return Message{WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control)};
}

HWND SomeControl() {
    return reinterpret_cast<HWND>(std::uintptr_t{0x1230});
}

class Base : public framework::CommandTarget {
public:
    std::vector<std::string> calls;

    const framework::MessageTable& Messages() const override {
        using T = Table<Base>;
        static const T table{CommandTarget::Messages(),
                             {T::Command(10, &Base::OnTen), T::Command(20, &Base::OnTwenty),
                              T::CommandRange(100, 199, &Base::OnHundreds)}};
        return table;
    }

    void OnTen() { calls.push_back("base:10"); }
    void OnTwenty() { calls.push_back("base:20"); }
    void OnHundreds(UINT id) { calls.push_back("base:range:" + std::to_string(id)); }
};

class Derived : public Base {
public:
    bool declineThirty = true;

    const framework::MessageTable& Messages() const override {
        using T = Table<Derived>;
        static const T table{
            Base::Messages(),
            {T::Command(10, &Derived::OnTen), T::Command(30, &Derived::OnThirtyFirst),
             T::Command(30, &Derived::OnThirtySecond), T::Command(150, &Derived::OnOneFifty),
             T::Control(40, CBN_SELCHANGE, &Derived::OnSelectionChange),
             T::Command(20, &Derived::OnTwentyDeclined)}};
        return table;
    }

    void OnTen() { calls.push_back("derived:10"); }
    bool OnThirtyFirst() {
        calls.push_back("derived:30:first");
        return !declineThirty;
    }
    void OnThirtySecond() { calls.push_back("derived:30:second"); }
    void OnOneFifty() { calls.push_back("derived:150"); }
    void OnSelectionChange() { calls.push_back("derived:40:selchange"); }
    bool OnTwentyDeclined() {
        calls.push_back("derived:20:declined");
        return false;
    }
};

TEST(MessageTable, SearchesTheClassTableInOrderThenItsBase) {
    Derived target;
    const auto& table = target.Messages();

    // The derived entry shadows the base's.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(10)).has_value());
    // A declined command goes on: to the base's entry for the same id.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(20)).has_value());
    // A declining entry hands on to the next entry of the same table.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(30)).has_value());
    // A single id before the base's range; the range for the ids around it.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(150)).has_value());
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(199)).has_value());
    EXPECT_FALSE(table.Dispatch(target, CommandMessage(200)).has_value());
    EXPECT_FALSE(table.Dispatch(target, CommandMessage(99)).has_value());

    EXPECT_EQ(target.calls, (std::vector<std::string>{
                                "derived:10", "derived:20:declined", "base:20", "derived:30:first",
                                "derived:30:second", "derived:150", "base:range:199"}));
}

TEST(MessageTable, ACommandNobodyTakesIsNotHandled) {
    Derived target;
    target.declineThirty = true;
    Base base;
    // The base class's table does not know the derived class's entries.
    EXPECT_FALSE(base.Messages().Dispatch(base, CommandMessage(30)).has_value());
    EXPECT_TRUE(base.calls.empty());
    EXPECT_FALSE(target.Messages().Dispatch(target, Message{WM_PAINT, 0, 0}).has_value());
}

TEST(MessageTable, TellsCommandsFromAcceleratorsAndControlNotifications) {
    Derived target;
    const auto& table = target.Messages();

    // Code 1 without a control is an accelerator: a command.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(10, 1)).has_value());
    // A button click (BN_CLICKED, 0) is a command too.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(10, BN_CLICKED, SomeControl())).has_value());
    // Code 1 from a control is its notification (CBN_SELCHANGE), not command 10.
    EXPECT_FALSE(table.Dispatch(target, CommandMessage(10, CBN_SELCHANGE, SomeControl())));
    // The notification entry takes only its own id and code, from a control.
    ASSERT_TRUE(table.Dispatch(target, CommandMessage(40, CBN_SELCHANGE, SomeControl())));
    EXPECT_FALSE(table.Dispatch(target, CommandMessage(40, CBN_DROPDOWN, SomeControl())));
    EXPECT_FALSE(table.Dispatch(target, CommandMessage(41, CBN_SELCHANGE, SomeControl())));

    EXPECT_EQ(target.calls,
              (std::vector<std::string>{"derived:10", "derived:10", "derived:40:selchange"}));
}

} // namespace
