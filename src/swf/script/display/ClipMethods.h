// MovieClip and Button as classes: their constructors, and the methods
// scripts call on clips (timelines, depths, making and removing clips,
// bounds and coordinates, dragging, URLs).
#pragma once

namespace swf::script {

class Vm;

void InstallMovieClip(Vm& vm);
void InstallButton(Vm& vm);
// Color (ColorClass.cpp).
void InstallColor(Vm& vm);
// Video (VideoClass.cpp).
void InstallVideo(Vm& vm);
// Stage, Key and Mouse (PlayerObjects.cpp).
void InstallPlayerObjects(Vm& vm);

} // namespace swf::script
