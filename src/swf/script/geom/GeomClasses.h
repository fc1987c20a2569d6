// The flash.geom classes, installed on _global.flash.geom.
#pragma once

namespace swf::script {
class Vm;
}

namespace swf::script::geom {

void InstallGeom(Vm& vm);

void InstallPoint(Vm& vm);
void InstallRectangle(Vm& vm);
void InstallMatrix(Vm& vm);
void InstallColorTransform(Vm& vm);
void InstallTransform(Vm& vm);

} // namespace swf::script::geom
