// Shapes the writer does not make, written here field by field.
#include "swf/format/ShapeReader.h"

#include <gtest/gtest.h>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::BitWriter;

// A SHAPE of edges: a move to (x, y), optionally with fill0 = 1 and line
// = 1, then one horizontal edge of length dx.
void WriteEdges(BitWriter& out, int x, int y, int dx, bool styles) {
    out.UBits(styles ? 1 : 0, 4);             // fill bits
    out.UBits(styles ? 1 : 0, 4);             // line bits
    out.Bit(false);                           // style change
    out.UBits(styles ? 0b01011 : 0b00001, 5); // (new styles, line, fill1, fill0, move)
    out.UBits(10, 5);                         // move bits
    out.SBits(x, 10);
    out.SBits(y, 10);
    if (styles) {
        out.UBits(1, 1); // fill0
        out.UBits(1, 1); // line
    }
    out.Bit(true);        // edge
    out.Bit(true);        // straight
    out.UBits(12 - 2, 4); // 12 bits a delta
    out.Bit(false);       // not general
    out.Bit(false);       // horizontal
    out.SBits(dx, 12);
    out.Bit(false);
    out.UBits(0, 5); // end of shape
    out.Align();
}

const swf::MorphShape& ParseMorph(std::uint16_t code, const BitWriter& body,
                                  std::unique_ptr<swf::MovieParser>& parser) {
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    movie.Tag(code, body.Data());
    movie.ShowFrame();
    parser = testmovies::Parse(movie.Finish());
    EXPECT_FALSE(parser->Failure()) << parser->Failure()->message;
    const swf::Character* character = parser->GetMovie().Find(5);
    EXPECT_NE(character, nullptr);
    static const swf::MorphShape none;
    const auto* morph = character ? std::get_if<swf::MorphShape>(&character->data) : nullptr;
    return morph ? *morph : none;
}

TEST(ShapeReader, MorphShapeHasStartAndEndStylesAndEdges) {
    BitWriter styles; // fills, lines and start edges: what the offset skips
    styles.U8(1);     // one fill
    styles.U8(0x00);  // solid
    swfwriter::WriteColor(styles, {255, 0, 0, 255}, true); // start
    swfwriter::WriteColor(styles, {0, 0, 255, 128}, true); // end
    styles.U8(1);                                          // one line
    styles.U16(20);                                        // start width
    styles.U16(60);                                        // end width
    swfwriter::WriteColor(styles, {1, 2, 3, 4}, true);
    swfwriter::WriteColor(styles, {5, 6, 7, 8}, true);
    WriteEdges(styles, 0, 0, 100, true);

    BitWriter body;
    body.U16(5);                                                // id
    swfwriter::WriteRect(body, 0, 100, 0, 10);                  // start bounds
    swfwriter::WriteRect(body, 10, 210, 10, 20);                // end bounds
    body.U32(static_cast<std::uint32_t>(styles.Data().size())); // offset to end edges
    body.Bytes(styles.Data());
    WriteEdges(body, 10, 10, 200, false); // end edges

    std::unique_ptr<swf::MovieParser> parser;
    const swf::MorphShape& morph = ParseMorph(swf::tag::DefineMorphShape, body, parser);
    EXPECT_EQ(morph.endBounds, (swf::Rect{10, 210, 10, 20}));
    ASSERT_EQ(morph.fills.size(), 1u);
    EXPECT_EQ(morph.fills[0].start.color, (swf::Rgba{255, 0, 0, 255}));
    EXPECT_EQ(morph.fills[0].end.color, (swf::Rgba{0, 0, 255, 128}));
    ASSERT_EQ(morph.lines.size(), 1u);
    EXPECT_EQ(morph.lines[0].start.width, 20);
    EXPECT_EQ(morph.lines[0].end.width, 60);
    EXPECT_EQ(morph.lines[0].end.color, (swf::Rgba{5, 6, 7, 8}));
    ASSERT_EQ(morph.startRecords.size(), 2u);
    const auto& start = std::get<swf::StyleChange>(morph.startRecords[0]);
    EXPECT_EQ(start.moveTo, (swf::Point{0, 0}));
    EXPECT_EQ(start.fill0, 1u);
    EXPECT_EQ(start.line, 1u);
    EXPECT_EQ(std::get<swf::StraightEdge>(morph.startRecords[1]), (swf::StraightEdge{100, 0}));
    ASSERT_EQ(morph.endRecords.size(), 2u);
    EXPECT_EQ(std::get<swf::StyleChange>(morph.endRecords[0]).moveTo, (swf::Point{10, 10}));
    EXPECT_EQ(std::get<swf::StraightEdge>(morph.endRecords[1]), (swf::StraightEdge{200, 0}));
}

TEST(ShapeReader, MorphShape2ReadsFocalGradientsAndMiterJoins) {
    BitWriter styles;
    styles.U8(1);    // one fill
    styles.U8(0x13); // focal radial gradient
    swfwriter::WriteMatrix(styles, {});
    swfwriter::WriteMatrix(styles, swfwriter::Matrix::Translate(40, 0));
    styles.U8(0x40 | 1); // reflect, one stop
    styles.U8(0);        // start ratio
    swfwriter::WriteColor(styles, {9, 9, 9, 9}, true);
    styles.U8(255); // end ratio
    swfwriter::WriteColor(styles, {8, 8, 8, 8}, true);
    styles.Fixed8(-0.5); // start focal point
    styles.Fixed8(0.75); // end focal point
    styles.U8(1);        // one line
    styles.U16(20);
    styles.U16(40);
    styles.U8(0x20); // round start cap, miter join, colour follows
    styles.U8(0x02); // square end cap
    styles.Fixed8(2.5);
    swfwriter::WriteColor(styles, {1, 1, 1, 1}, true);
    swfwriter::WriteColor(styles, {2, 2, 2, 2}, true);
    WriteEdges(styles, 0, 0, 100, true);

    BitWriter body;
    body.U16(5);
    swfwriter::WriteRect(body, 0, 100, 0, 10);
    swfwriter::WriteRect(body, 0, 200, 0, 10);
    swfwriter::WriteRect(body, 0, 100, 0, 10); // start edge bounds
    swfwriter::WriteRect(body, 0, 200, 0, 10); // end edge bounds
    body.U8(0x01);                             // uses scaling strokes
    body.U32(static_cast<std::uint32_t>(styles.Data().size()));
    body.Bytes(styles.Data());
    WriteEdges(body, 0, 0, 200, false);

    std::unique_ptr<swf::MovieParser> parser;
    const swf::MorphShape& morph = ParseMorph(swf::tag::DefineMorphShape2, body, parser);
    EXPECT_TRUE(morph.usesScalingStrokes);
    ASSERT_EQ(morph.fills.size(), 1u);
    const auto& fill = morph.fills[0];
    EXPECT_EQ(fill.start.kind, swf::FillKind::FocalRadialGradient);
    EXPECT_EQ(fill.end.matrix.translateX, 40);
    EXPECT_EQ(fill.start.gradient.spreadMode, 1);
    EXPECT_DOUBLE_EQ(fill.start.gradient.focalPoint, -0.5);
    EXPECT_DOUBLE_EQ(fill.end.gradient.focalPoint, 0.75);
    EXPECT_EQ(fill.end.gradient.stops[0].ratio, 255);
    ASSERT_EQ(morph.lines.size(), 1u);
    EXPECT_EQ(morph.lines[0].start.join, 2);
    EXPECT_DOUBLE_EQ(morph.lines[0].end.miterLimit, 2.5);
    EXPECT_EQ(morph.lines[0].end.endCap, 2);
    EXPECT_EQ(morph.lines[0].end.width, 40);
    EXPECT_EQ(morph.lines[0].start.color, (swf::Rgba{1, 1, 1, 1}));
    EXPECT_EQ(morph.endRecords.size(), 2u);
}

TEST(ShapeReader, MorphShapeWithEndEdgesOutsideTheTagIsAnError) {
    BitWriter body;
    body.U16(5);
    swfwriter::WriteRect(body, 0, 1, 0, 1);
    swfwriter::WriteRect(body, 0, 1, 0, 1);
    body.U32(5000); // far past the tag's end
    body.U8(0);     // no fills
    body.U8(0);     // no lines
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    movie.Tag(swf::tag::DefineMorphShape, body.Data());
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("end edges outside the tag"), std::string::npos);
}

TEST(ShapeReader, Shape4LineStylesCarryCapsJoinsAndFills) {
    BitWriter body;
    body.U16(5);
    swfwriter::WriteRect(body, 0, 100, 0, 100);
    swfwriter::WriteRect(body, 10, 90, 10, 90); // edge bounds
    body.U8(0x04);                              // fill winding rule
    body.U8(0);                                 // no fills
    body.U8(2);                                 // two lines
    body.U16(40);
    body.U8(0x40 | 0x10 | 0x04); // square start cap, bevel join, no horizontal scale
    body.U8(0x01);               // no end cap
    swfwriter::WriteColor(body, {10, 20, 30, 40}, true);
    body.U16(60);
    body.U8(0x08); // a fill instead of a colour
    body.U8(0x04); // no close
    body.U8(0x00); // solid
    swfwriter::WriteColor(body, {50, 60, 70, 80}, true);
    body.UBits(0, 4); // fill bits
    body.UBits(2, 4); // line bits
    body.Bit(false);
    body.UBits(0, 5); // end of shape
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    movie.Tag(swf::tag::DefineShape4, body.Data());
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& shape = std::get<swf::Shape>(parser->GetMovie().Find(5)->data);
    EXPECT_EQ(shape.version, 4);
    EXPECT_EQ(shape.edgeBounds, (swf::Rect{10, 90, 10, 90}));
    EXPECT_TRUE(shape.usesFillWindingRule);
    ASSERT_EQ(shape.styles.lines.size(), 2u);
    const auto& first = shape.styles.lines[0];
    EXPECT_EQ(first.startCap, 1);
    EXPECT_EQ(first.join, 1);
    EXPECT_TRUE(first.noHScale);
    EXPECT_EQ(first.endCap, 1);
    EXPECT_EQ(first.color, (swf::Rgba{10, 20, 30, 40}));
    const auto& second = shape.styles.lines[1];
    EXPECT_TRUE(second.noClose);
    ASSERT_TRUE(second.fill);
    EXPECT_EQ(second.fill->color, (swf::Rgba{50, 60, 70, 80}));
}

TEST(ShapeReader, UnknownFillStyleIsAnError) {
    BitWriter body;
    body.U16(5);
    swfwriter::WriteRect(body, 0, 1, 0, 1);
    body.U8(1);    // one fill
    body.U8(0x77); // no such fill type
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    movie.Tag(swf::tag::DefineShape3, body.Data());
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("unknown fill style"), std::string::npos);
    EXPECT_NE(parser->Failure()->message.find("shape 5"), std::string::npos);
}

} // namespace
