// The edit control's text model: typing over selections within the limit,
// deleting, surrogate pairs, and undo.
#include <gtest/gtest.h>

#include "platform/sim/EditBuffer.h"

namespace {

using sim::EditBuffer;

void Type(EditBuffer& buffer, std::u16string_view text) {
    bool cut = false;
    buffer.ReplaceSelection(text, true, cut);
}

TEST(EditBuffer, TypingReplacesTheSelectionAndMovesTheCaret) {
    EditBuffer buffer;
    buffer.SetText(u"hello world");
    EXPECT_EQ(buffer.Caret(), 0);
    EXPECT_FALSE(buffer.Modified());
    buffer.Select(6, 11);
    EXPECT_EQ(buffer.SelectedText(), u"world");
    Type(buffer, u"there");
    EXPECT_EQ(buffer.Text(), u"hello there");
    EXPECT_EQ(buffer.Caret(), 11);
    EXPECT_FALSE(buffer.HasSelection());
    EXPECT_TRUE(buffer.Modified());

    // A selection made backwards is the same selection.
    buffer.Select(5, 0);
    EXPECT_EQ(buffer.SelectionStart(), 0);
    EXPECT_EQ(buffer.SelectionEnd(), 5);
    EXPECT_EQ(buffer.Caret(), 0);
    buffer.MoveCaret(2, true);
    EXPECT_EQ(buffer.SelectedText(), u"llo");
    buffer.Select(-4, 400);
    EXPECT_EQ(buffer.SelectionStart(), 0);
    EXPECT_EQ(buffer.SelectionEnd(), 11);
}

TEST(EditBuffer, TheLimitCutsTypingButNotSetText) {
    EditBuffer buffer;
    buffer.SetLimit(5);
    bool cut = false;
    EXPECT_TRUE(buffer.ReplaceSelection(u"abcdefg", true, cut));
    EXPECT_TRUE(cut);
    EXPECT_EQ(buffer.Text(), u"abcde");
    EXPECT_FALSE(buffer.ReplaceSelection(u"x", true, cut)) << "a full control takes nothing";
    EXPECT_TRUE(cut);
    // Replacing a selection frees its room first, and no more.
    buffer.Select(1, 3);
    EXPECT_TRUE(buffer.ReplaceSelection(u"XY", true, cut));
    EXPECT_FALSE(cut);
    EXPECT_EQ(buffer.Text(), u"aXYde");
    buffer.Select(1, 3);
    EXPECT_TRUE(buffer.ReplaceSelection(u"123", true, cut));
    EXPECT_TRUE(cut);
    EXPECT_EQ(buffer.Text(), u"a12de");

    buffer.SetText(u"longer than the limit");
    EXPECT_EQ(buffer.Length(), 21);
    buffer.SetLimit(0);
    EXPECT_EQ(buffer.Limit(), EditBuffer::kMaximumLimit);
}

TEST(EditBuffer, TheLimitNeverSplitsASurrogatePair) {
    EditBuffer buffer;
    buffer.SetLimit(2);
    bool cut = false;
    buffer.ReplaceSelection(u"a\U0001F600", true, cut);
    EXPECT_EQ(buffer.Text(), u"a");
    EXPECT_TRUE(cut);
}

TEST(EditBuffer, BackspaceAndDeleteTakeOneCharacterOrTheSelection) {
    EditBuffer buffer;
    buffer.SetText(u"a\U0001F600b");
    buffer.MoveCaret(3, false);
    EXPECT_TRUE(buffer.DeleteBackward());
    EXPECT_EQ(buffer.Text(), u"ab") << "a surrogate pair goes as one character";
    EXPECT_EQ(buffer.Caret(), 1);
    EXPECT_TRUE(buffer.DeleteForward());
    EXPECT_EQ(buffer.Text(), u"a");
    EXPECT_FALSE(buffer.DeleteForward());
    buffer.MoveCaret(0, false);
    EXPECT_FALSE(buffer.DeleteBackward());

    buffer.SetText(u"select me");
    buffer.Select(0, 7);
    EXPECT_TRUE(buffer.DeleteForward());
    EXPECT_EQ(buffer.Text(), u"me");
}

TEST(EditBuffer, UndoSwapsWithTheTextBeforeTheLastEdit) {
    EditBuffer buffer;
    buffer.SetText(u"one");
    EXPECT_FALSE(buffer.CanUndo()) << "a program's text is no edit to undo";
    buffer.MoveCaret(3, false);
    Type(buffer, u" two");
    ASSERT_TRUE(buffer.CanUndo());
    EXPECT_TRUE(buffer.Undo());
    EXPECT_EQ(buffer.Text(), u"one");
    EXPECT_TRUE(buffer.Undo());
    EXPECT_EQ(buffer.Text(), u"one two");
    buffer.EmptyUndo();
    EXPECT_FALSE(buffer.Undo());
}

} // namespace
