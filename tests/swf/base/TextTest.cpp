#include "swf/base/Text.h"

#include <gtest/gtest.h>

namespace {

using swf::text::Utf16ToUtf8;
using swf::text::Utf8ToUtf16;

TEST(Text, EveryLengthOfSequenceRoundTrips) {
    // One, two, three and four bytes: A, e acute, the euro sign, a clef
    // (a surrogate pair in UTF-16).
    const std::string utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";
    const std::u16string utf16 = u"A\u00E9\u20AC\U0001D11E";
    EXPECT_EQ(Utf8ToUtf16(utf8), utf16);
    EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
    // The edges of each length.
    const std::u16string edges = u"\u007F\u0080\u07FF\u0800\uFFFD\U00010000\U0010FFFF";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(edges)), edges);
}

TEST(Text, DamagedUtf8BecomesOneReplacementPerUnreadableByte) {
    // A lone continuation byte, a lead cut short by an ASCII byte, a
    // sequence cut short by the end.
    EXPECT_EQ(Utf8ToUtf16("a\x80"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82x"), u"\uFFFD\uFFFDx");
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9D\x84"), u"\uFFFD\uFFFD\uFFFD");
    // Overlong forms, an encoded surrogate and a value past U+10FFFF are
    // not text either.
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
}

TEST(Text, UnpairedSurrogatesBecomeReplacements) {
    const std::u16string lone = {u'x', char16_t(0xD800), u'y', char16_t(0xDC00)};
    EXPECT_EQ(Utf16ToUtf8(lone), "x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

TEST(Text, NextCodePointWalksASequence) {
    const std::string text = "\xE2\x82\xAC!";
    std::size_t at = 0;
    EXPECT_EQ(swf::text::NextCodePoint(text, at), U'\u20AC');
    EXPECT_EQ(at, 3u);
    EXPECT_EQ(swf::text::NextCodePoint(text, at), U'!');
    EXPECT_EQ(at, 4u);
}

TEST(Text, CaseChangesOnlyAsciiLetters) {
    // "\xC3\x89" is É in UTF-8: its bytes are not letters to change.
    EXPECT_EQ(swf::text::LowerAscii("Font-Face \xC3\x89Z@["), "font-face \xC3\x89z@[");
    EXPECT_EQ(swf::text::UpperAscii("left `{ \xC3\xA9"), "LEFT `{ \xC3\xA9");
}

} // namespace
