#include "swf/script/builtins/Builtins.h"
#include "swf/script/data/DataClasses.h"
#include "swf/script/display/ClipMethods.h"
#include "swf/script/filters/FilterClasses.h"
#include "swf/script/geom/GeomClasses.h"
#include "swf/script/sound/SoundClasses.h"
#include "swf/script/text/TextClasses.h"
#include "swf/script/xml/XmlClasses.h"

namespace swf::script::builtins {

void InstallAll(Vm& vm) {
    // Object and Function first: every other built-in is made of them.
    InstallObject(vm);
    InstallFunction(vm);
    InstallObjectMembers(vm);
    InstallGlobalFunctions(vm);
    InstallNativeTable(vm);
    InstallBoolean(vm);
    InstallNumber(vm);
    InstallString(vm);
    InstallArray(vm);
    InstallMath(vm);
    InstallDate(vm);
    InstallError(vm);
    InstallAsBroadcaster(vm);
    InstallSystem(vm);
    InstallMovieClip(vm);
    InstallButton(vm);
    InstallTextFormat(vm);
    InstallTextField(vm);
    InstallSelection(vm);
    InstallColor(vm);
    InstallVideo(vm);
    sound::InstallSound(vm);
    InstallPlayerObjects(vm);
    geom::InstallGeom(vm);
    filters::InstallFilters(vm);
    filters::InstallClipFilters(vm);
    data::InstallLoadVars(vm);
    data::InstallConnectionClasses(vm);
    data::InstallPlayerServices(vm);
    data::InstallContextMenu(vm);
    xml::InstallXml(vm);
}

} // namespace swf::script::builtins
