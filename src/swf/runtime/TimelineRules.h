// What a timeline's PlaceObject and RemoveObject tags do to the depth they
// name, as Flash Player decides it. The frame loop, gotos and the plan a
// goto back makes all ask here, so the rules are written once.
#pragma once

#include <cstdint>

#include "swf/format/Basics.h"
#include "swf/format/TimelineModel.h"

namespace swf {

// Who holds the depth a tag names.
struct DepthOccupant {
    bool present = false;
    bool timelineOwned = false; // placed by this timeline, not made or moved by a script
    bool graphic = false;       // a shape, morph shape or static text
    CharacterId characterId = 0;
};

enum class PlaceDecision : std::uint8_t {
    Ignore,
    Create,          // a new object at the empty depth
    Replace,         // the object there goes (without its events), a new one comes
    Modify,          // the object there takes the tag's fields
    ChangeCharacter, // the graphic there shows the tag's character, and takes its fields
};

// newIsGraphic: the tag's character is a shape, morph shape or static text.
PlaceDecision DecidePlace(const PlaceObject& place, const DepthOccupant& occupant,
                          std::uint8_t swfVersion, bool newIsGraphic);

// A PlaceObject2 or 3 that neither moves nor names a character stops the
// frame where it stands: Flash Player runs no further tag of the frame and
// the playhead stays on the frame before, so the frame is tried again.
constexpr bool StopsTheFrame(const PlaceObject& place) {
    return place.version >= 2 && !place.move && !place.characterId;
}

// RemoveObject removes only what the timeline placed.
constexpr bool RemoveApplies(const DepthOccupant& occupant) {
    return occupant.present && occupant.timelineOwned;
}

} // namespace swf
