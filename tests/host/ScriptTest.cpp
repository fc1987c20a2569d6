#include "host/Script.h"

#include <gtest/gtest.h>

#include "platform/Input.h"

namespace host {
namespace {

template <typename Action>
Action Only(std::string_view text) {
    const auto steps = ParseScript(text);
    EXPECT_TRUE(steps) << (steps ? "" : steps.GetError().message);
    if (!steps || steps->size() != 1 || !std::holds_alternative<Action>(steps->front().action)) {
        ADD_FAILURE() << "not one action of the kind expected: " << text;
        return Action{};
    }
    return std::get<Action>(steps->front().action);
}

TEST(Script, ActionsWithTheirArguments) {
    EXPECT_EQ(Only<action::Wait>("wait 250").ms, 250u);
    EXPECT_EQ(Only<action::Tap>("tap 10 20").at, (ScriptPoint{10, 20}));
    EXPECT_EQ(Only<action::Hold>("  hold 5 6  ").at, (ScriptPoint{5, 6}));
    const auto drag = Only<action::Drag>("drag 1 2 30 40 300");
    EXPECT_EQ(drag.from, (ScriptPoint{1, 2}));
    EXPECT_EQ(drag.to, (ScriptPoint{30, 40}));
    EXPECT_EQ(drag.ms, 300u);
    EXPECT_EQ(Only<action::Button>("button app3").button, DeviceButton::App3);
    EXPECT_EQ(Only<action::Button>("button RIGHT").button, DeviceButton::Right);
    EXPECT_EQ(Only<action::SoftKey>("softkey 2").number, 2);
    EXPECT_FALSE(Only<action::Front>("front other").player);
    EXPECT_TRUE(Only<action::Front>("front vantrel").player);
    EXPECT_EQ(Only<action::Rotate>("rotate 270").degrees, 270);
    EXPECT_EQ(Only<action::Screenshot>("screenshot \"a b.png\"").path, "a b.png");
    EXPECT_EQ(Only<action::State>("state out.json # at the end").path, "out.json");
    EXPECT_EQ(Only<action::TapId>("tapid 1014").id, 1014);
    // A device path in quotes keeps its backslashes.
    EXPECT_EQ(Only<action::Open>(R"(open "\My Documents\movie.swf")").path,
              "\\My Documents\\movie.swf");
}

TEST(Script, KeysTakeModifierPrefixes) {
    EXPECT_EQ(Only<action::Key>("key ctrl+N").stroke, (KeyStroke{'N', MOD_CONTROL}));
    EXPECT_EQ(Only<action::Key>("key RETURN").stroke, (KeyStroke{VK_RETURN, 0}));
    EXPECT_EQ(Only<action::Key>("key shift+ctrl+f12").stroke,
              (KeyStroke{VK_F12, MOD_CONTROL | MOD_SHIFT}));
    EXPECT_EQ(Only<action::Key>("key 7").stroke, (KeyStroke{'7', 0}));
    EXPECT_FALSE(KeyByName("F25"));
    EXPECT_FALSE(KeyByName("F0"));
    EXPECT_FALSE(KeyByName("alt+N"));
    EXPECT_FALSE(KeyByName("ctrl+"));
}

TEST(Script, FreeTextsKeepTheRestOfTheLine) {
    // A '#' in typed text is typed, quotes are kept, blanks inside kept.
    EXPECT_EQ(Only<action::Type>("type http://host/a.swf#frame \"x\"  y\r").text,
              "http://host/a.swf#frame \"x\"  y");
    EXPECT_EQ(Only<action::Launch>("launch /tmp/my movie.swf").commandLine, "/tmp/my movie.swf");
    EXPECT_EQ(Only<action::Launch>("launch").commandLine, "");
}

TEST(Script, MenuPathsWithQuotedTexts) {
    const auto menu = Only<action::Menu>(R"(menu Screen "Toggle Fullscreen" "say \"hi\"")");
    EXPECT_EQ(menu.path, (std::vector<std::string>{"Screen", "Toggle Fullscreen", "say \"hi\""}));
}

TEST(Script, CommentsAndBlankLinesAreSkippedAndLinesKeepTheirNumbers) {
    const auto steps = ParseScript("# a script\n\nwait 10\n   # indented comment\ntap 1 2\n");
    ASSERT_TRUE(steps);
    ASSERT_EQ(steps->size(), 2u);
    EXPECT_EQ((*steps)[0].line, 3);
    EXPECT_EQ((*steps)[1].line, 5);
}

TEST(Script, BadLinesAreErrorsWithTheirLineNumber) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"jump 1", "line 1: unknown action 'jump'"},
        {"wait\n", "wait MS"},
        {"wait -5", "milliseconds"},
        {"wait 10 20", "wait MS"},
        {"tap 1", "tap X Y"},
        {"tap a b", "screen point"},
        {"tap 1 9999999", "screen point"},
        {"drag 1 2 3 4", "drag X1 Y1 X2 Y2 MS"},
        {"button HOME", "no button 'HOME'"},
        {"key ctrl+", "no key"},
        {"type", "text to type"},
        {"softkey 3", "softkey 1 or softkey 2"},
        {"menu", "texts of the menu items"},
        {"menu \"Screen", "not closed"},
        {"menu \"a\"b", "runs into"},
        {"front back", "front other"},
        {"rotate 45", "rotate 0, 90"},
        {"screenshot", "screenshot FILE"},
        {"open", "open PATH"},
        {"open a b", "open PATH"},
        {"tapid", "tapid ID"},
        {"tapid 70000", "tapid ID"},
        {"tapid ok", "tapid ID"},
        {"wait 1\nwait 2\nstate a b", "line 3: state: expected state FILE"},
    };
    for (const auto& [text, expected] : cases) {
        const auto steps = ParseScript(text);
        ASSERT_FALSE(steps) << text;
        EXPECT_NE(steps.GetError().message.find(expected), std::string::npos)
            << text << " gave: " << steps.GetError().message;
    }
}

} // namespace
} // namespace host
