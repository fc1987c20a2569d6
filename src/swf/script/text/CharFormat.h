// The format of one character of a text field, as TextFormat describes it,
// and a partial format (what a TextFormat object sets, or what a range of
// characters has in common): a value for each property, or none.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swf::script::text {

struct CharFormat {
    std::string font = "Times New Roman";
    double size = 12.0;
    std::uint32_t color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::string url;
    std::string target;
    // Paragraph properties: a paragraph takes them from its first character.
    std::string align = "left"; // left, center, right, justify
    double leftMargin = 0.0;
    double rightMargin = 0.0;
    double indent = 0.0;
    double leading = 0.0;
    double blockIndent = 0.0;
    bool bullet = false;
    std::vector<double> tabStops;
    double letterSpacing = 0.0;
    bool kerning = false;

    bool operator==(const CharFormat&) const = default;
};

struct FormatChange {
    std::optional<std::string> font;
    std::optional<double> size;
    std::optional<std::uint32_t> color;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;
    std::optional<std::string> url;
    std::optional<std::string> target;
    std::optional<std::string> align;
    std::optional<double> leftMargin;
    std::optional<double> rightMargin;
    std::optional<double> indent;
    std::optional<double> leading;
    std::optional<double> blockIndent;
    std::optional<bool> bullet;
    std::optional<std::vector<double>> tabStops;
    std::optional<double> letterSpacing;
    std::optional<bool> kerning;
};

// Sets what the change has on format.
void ApplyChange(const FormatChange& change, CharFormat& format);
// Every property of a format, as a change.
FormatChange FullChange(const CharFormat& format);
// Keeps in common only what format agrees with.
void KeepCommon(FormatChange& common, const CharFormat& format);

} // namespace swf::script::text
