#include "swf/runtime/TimelineRules.h"

namespace swf {

PlaceDecision DecidePlace(const PlaceObject& place, const DepthOccupant& occupant,
                          std::uint8_t swfVersion, bool newIsGraphic) {
    if (place.version == 1 || !place.move) {
        if (!place.characterId) {
            return PlaceDecision::Ignore;
        }
        if (!occupant.present) {
            return PlaceDecision::Create;
        }
        // PlaceObject replaces what the timeline put there. PlaceObject2
        // leaves an occupied depth alone from SWF 6 on; up to SWF 5 the
        // player makes the new object instead (the old one reports no
        // unload).
        const bool replaces = place.version == 1 || swfVersion <= 5;
        return replaces && occupant.timelineOwned ? PlaceDecision::Replace : PlaceDecision::Ignore;
    }
    // A move never places anything at an empty depth, and leaves what
    // scripts made or moved alone.
    if (!occupant.present || !occupant.timelineOwned) {
        return PlaceDecision::Ignore;
    }
    if (place.characterId && *place.characterId != occupant.characterId && occupant.graphic &&
        newIsGraphic) {
        return PlaceDecision::ChangeCharacter;
    }
    // A clip, button or field keeps being itself whatever character the
    // move names.
    return PlaceDecision::Modify;
}

} // namespace swf
