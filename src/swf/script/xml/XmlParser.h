// Reads XML text into a tree of elements and text, as Flash's XML.parseXML
// does: it stops at the first fault and keeps what it had built, and the
// status tells which fault it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace swf::script::xml {

enum class XmlStatus : int {
    Ok = 0,
    CdataNotEnded = -2,
    DeclarationNotEnded = -3,
    DoctypeNotEnded = -4,
    CommentNotEnded = -5,
    MalformedElement = -6,
    AttributeNotEnded = -8,
    StartTagNotEnded = -9, // an element left open, or closed by an outer end tag
    EndTagWithoutStart = -10,
};

// What the parser found, in document order. A sink may stop the parse (a
// script it ran was aborted) by returning false.
class XmlSink {
public:
    virtual ~XmlSink() = default;
    virtual bool StartElement(std::string name,
                              std::vector<std::pair<std::string, std::string>> attributes,
                              bool empty) = 0;
    virtual void EndElement() = 0;
    virtual void Text(std::string value) = 0;
};

struct ParseResult {
    XmlStatus status = XmlStatus::Ok;
    bool stopped = false;    // by the sink
    std::string xmlDecl;     // every <?...?> met, one after another
    std::string docTypeDecl; // the last <!DOCTYPE ...> met
    bool hasXmlDecl = false;
    bool hasDocTypeDecl = false;
};

// ignoreWhite: texts of nothing but white space are left out.
ParseResult ParseXml(std::string_view text, bool ignoreWhite, XmlSink& sink);

// Text with &, <, >, " and ' written as entities.
std::string EscapeXml(std::string_view text);

} // namespace swf::script::xml
