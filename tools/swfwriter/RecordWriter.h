// Writers for the small records shared by many tags.
#pragma once

#include <cstdint>

#include "swfwriter/BitWriter.h"
#include "swfwriter/WriterTypes.h"

namespace swfwriter {

void WriteRect(BitWriter& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
               std::int32_t yMax);
void WriteMatrix(BitWriter& out, const Matrix& matrix);
void WriteColor(BitWriter& out, const Color& color, bool withAlpha);
void WriteColorTransform(BitWriter& out, const ColorTransform& cx, bool withAlpha);
// A filter list of PlaceObject3 or a button record.
void WriteFilterList(BitWriter& out, const std::vector<Filter>& filters);

} // namespace swfwriter
