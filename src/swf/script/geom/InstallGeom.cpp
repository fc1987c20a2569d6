#include "swf/script/geom/GeomClasses.h"

namespace swf::script::geom {

void InstallGeom(Vm& vm) {
    InstallPoint(vm);
    InstallRectangle(vm);
    InstallMatrix(vm);
    InstallColorTransform(vm);
    InstallTransform(vm);
}

} // namespace swf::script::geom
