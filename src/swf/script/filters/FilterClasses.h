// The flash.filters classes, installed on _global.flash.filters.
#pragma once

namespace swf::script {
class Vm;
}

namespace swf::script::filters {

void InstallFilters(Vm& vm);

} // namespace swf::script::filters
