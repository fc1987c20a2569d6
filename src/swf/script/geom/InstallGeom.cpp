#include "swf/script/geom/GeomClasses.h"

namespace swf::script::geom {

void InstallGeom(Vm& vm) {
    InstallPoint(vm);
    InstallRectangle(vm);
    InstallMatrix(vm);
    InstallColorTransform(vm);
}

} // namespace swf::script::geom
