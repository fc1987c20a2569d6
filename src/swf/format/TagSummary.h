// One-line descriptions of tags and headers, for swfdump and for messages.
#pragma once

#include <string>

#include "swf/format/Movie.h"
#include "swf/format/TagStream.h"

namespace swf {

// "CWS version 8, 12345 bytes, stage 550 x 400 px at (0, 0), 12 fps, 10 frames"
std::string DescribeHeader(const MovieHeader& header);
// The main fields of a tag ("id 3, bounds ..., 2 fills, 1 line, 14 records"),
// or the reason it cannot be read ("damaged: ...").
std::string DescribeTag(const TagView& tag);

} // namespace swf
