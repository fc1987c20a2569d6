// The XML reader: what it hands on, where it stops, and the status it
// gives for each kind of fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "swf/script/xml/XmlParser.h"

namespace {

using swf::script::xml::EscapeXml;
using swf::script::xml::ParseResult;
using swf::script::xml::ParseXml;
using swf::script::xml::XmlSink;
using swf::script::xml::XmlStatus;

// Writes what the parser finds as a compact outline: <name a=v>, </>, "text".
class Outline : public XmlSink {
public:
    bool StartElement(std::string name, std::vector<std::pair<std::string, std::string>> attributes,
                      bool empty) override {
        text += "<" + name;
        for (const auto& [key, value] : attributes) {
            text += " " + key + "=" + value;
        }
        text += empty ? "/>" : ">";
        return true;
    }
    void EndElement() override { text += "</>"; }
    void Text(std::string value) override { text += "\"" + value + "\""; }
    std::string text;
};

struct Parsed {
    std::string outline;
    XmlStatus status;
};

Parsed Parse(std::string_view text, bool ignoreWhite = false) {
    Outline sink;
    const ParseResult result = ParseXml(text, ignoreWhite, sink);
    return {sink.text, result.status};
}

TEST(XmlParser, ReadsElementsTextsAndEntities) {
    const Parsed parsed =
        Parse("<a x='1' y=\"&lt;2&gt;\">one &amp; &#65;&#x42; &bogus; & two<b/></a>");
    EXPECT_EQ(parsed.outline, "<a x=1 y=<2>>\"one & AB &bogus; & two\"<b/></>");
    EXPECT_EQ(parsed.status, XmlStatus::Ok);
}

TEST(XmlParser, KeepsCdataAsItIsAndDropsCommentsAndWhiteSpaceWhenAsked) {
    EXPECT_EQ(Parse("<a> <![CDATA[x</a>&lt;]]> <!-- c --></a>").outline,
              "<a>\" \"\"x</a>&lt;\"\" \"</>");
    EXPECT_EQ(Parse("<a> <![CDATA[ ]]> <b/>\n</a>", true).outline, "<a>\" \"<b/></>");
}

TEST(XmlParser, NameEndsAtSpaceOrAngleButASlashNeedsTheAngle) {
    // "<a/ >" names an element "a/"; an end tag's name stops at a slash.
    const Parsed parsed = Parse("<a/ ></a/>");
    EXPECT_EQ(parsed.outline, "<a/>");
    EXPECT_EQ(parsed.status, XmlStatus::EndTagWithoutStart);
}

TEST(XmlParser, StopsAtTheFirstFaultWithItsStatus) {
    struct Case {
        const char* text;
        const char* outline;
        XmlStatus status;
    };
    const Case cases[] = {
        {"<a><![CDATA[x]></a>", "<a>", XmlStatus::CdataNotEnded},
        {"<a/><?xml x", "<a/>", XmlStatus::DeclarationNotEnded},
        {"<a/><!DOCTYPE x", "<a/>", XmlStatus::DoctypeNotEnded},
        {"<a/><!-- <b/>", "<a/>", XmlStatus::CommentNotEnded},
        {"<a x/><b/>", "", XmlStatus::MalformedElement},
        {"<a x=y/>", "", XmlStatus::MalformedElement},
        {"<>a", "", XmlStatus::MalformedElement},
        {"<a", "", XmlStatus::MalformedElement},
        {"</a", "", XmlStatus::MalformedElement},
        {"<a x='y></a>", "", XmlStatus::AttributeNotEnded},
        {"<a><b>", "<a><b>", XmlStatus::StartTagNotEnded},
        // An outer element's end tag leaves the inner one open; one that
        // ends nothing open is a stray.
        {"<a><b></a><c/>", "<a><b>", XmlStatus::StartTagNotEnded},
        {"<a><b></c><d/></b></a>", "<a><b>", XmlStatus::EndTagWithoutStart},
        {"</a>", "", XmlStatus::EndTagWithoutStart},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.text);
        EXPECT_EQ(parsed.outline, c.outline) << c.text;
        EXPECT_EQ(parsed.status, c.status) << c.text;
    }
}

TEST(XmlParser, CollectsDeclarations) {
    Outline sink;
    const ParseResult result =
        ParseXml("<?xml a ?><!DOCTYPE b><r/><?xml c ?><!DOCTYPE d>", false, sink);
    EXPECT_EQ(result.xmlDecl, "<?xml a ?><?xml c ?>");
    EXPECT_EQ(result.docTypeDecl, "<!DOCTYPE d>");
    EXPECT_EQ(sink.text, "<r/>");
}

TEST(XmlParser, EscapesMarkupCharacters) {
    EXPECT_EQ(EscapeXml("a<b>&\"c'\xC2\xA0"), "a&lt;b&gt;&amp;&quot;c&apos;\xC2\xA0");
}

} // namespace
