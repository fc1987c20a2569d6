// The flash.filters classes, installed on _global.flash.filters, and the
// filters of a clip, button or text field as scripts see them (from SWF 8).
#pragma once

#include <optional>

#include "swf/format/TimelineModel.h"
#include "swf/script/Completion.h"

namespace swf::script {
class Vm;
}

namespace swf::script::filters {

class FilterObject;

void InstallFilters(Vm& vm);
void InstallClipFilters(Vm& vm);

// A script filter as the display list draws it; nullopt for kinds the
// display list has none of.
std::optional<Filter> ToDisplayFilter(Vm& vm, FilterObject& filter);
// A new script filter of the class and with the values of a drawn one.
Completion FromDisplayFilter(Vm& vm, const Filter& filter);

} // namespace swf::script::filters
