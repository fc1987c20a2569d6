#include "swf/script/text/CharFormat.h"

namespace swf::script::text {

namespace {

template <typename T>
void Take(const std::optional<T>& from, T& to) {
    if (from) {
        to = *from;
    }
}

template <typename T>
void Agree(std::optional<T>& common, const T& value) {
    if (common && *common != value) {
        common.reset();
    }
}

} // namespace

void ApplyChange(const FormatChange& change, CharFormat& format) {
    Take(change.font, format.font);
    Take(change.size, format.size);
    Take(change.color, format.color);
    Take(change.bold, format.bold);
    Take(change.italic, format.italic);
    Take(change.underline, format.underline);
    Take(change.url, format.url);
    Take(change.target, format.target);
    Take(change.align, format.align);
    Take(change.leftMargin, format.leftMargin);
    Take(change.rightMargin, format.rightMargin);
    Take(change.indent, format.indent);
    Take(change.leading, format.leading);
    Take(change.blockIndent, format.blockIndent);
    Take(change.bullet, format.bullet);
    Take(change.tabStops, format.tabStops);
    Take(change.letterSpacing, format.letterSpacing);
    Take(change.kerning, format.kerning);
}

FormatChange FullChange(const CharFormat& format) {
    FormatChange c;
    c.font = format.font;
    c.size = format.size;
    c.color = format.color;
    c.bold = format.bold;
    c.italic = format.italic;
    c.underline = format.underline;
    c.url = format.url;
    c.target = format.target;
    c.align = format.align;
    c.leftMargin = format.leftMargin;
    c.rightMargin = format.rightMargin;
    c.indent = format.indent;
    c.leading = format.leading;
    c.blockIndent = format.blockIndent;
    c.bullet = format.bullet;
    c.tabStops = format.tabStops;
    c.letterSpacing = format.letterSpacing;
    c.kerning = format.kerning;
    return c;
}

void KeepCommon(FormatChange& common, const CharFormat& format) {
    Agree(common.font, format.font);
    Agree(common.size, format.size);
    Agree(common.color, format.color);
    Agree(common.bold, format.bold);
    Agree(common.italic, format.italic);
    Agree(common.underline, format.underline);
    Agree(common.url, format.url);
    Agree(common.target, format.target);
    Agree(common.align, format.align);
    Agree(common.leftMargin, format.leftMargin);
    Agree(common.rightMargin, format.rightMargin);
    Agree(common.indent, format.indent);
    Agree(common.leading, format.leading);
    Agree(common.blockIndent, format.blockIndent);
    Agree(common.bullet, format.bullet);
    Agree(common.tabStops, format.tabStops);
    Agree(common.letterSpacing, format.letterSpacing);
    Agree(common.kerning, format.kerning);
}

} // namespace swf::script::text
