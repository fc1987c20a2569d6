#include "swf/runtime/DisplayList.h"

namespace swf {

namespace {

void ApplyFields(const PlaceObject& place, Placement& placement) {
    if (place.matrix) {
        placement.matrix = *place.matrix;
    }
    if (place.colorTransform) {
        placement.colorTransform = *place.colorTransform;
    }
    if (place.ratio) {
        placement.ratio = *place.ratio;
    }
    if (place.name) {
        placement.name = *place.name;
    }
    if (place.clipDepth) {
        placement.clipDepth = *place.clipDepth;
    }
    if (place.filters) {
        placement.filters = *place.filters;
    }
    if (place.blendMode) {
        placement.blendMode = *place.blendMode;
    }
    if (place.cacheAsBitmap) {
        placement.cacheAsBitmap = *place.cacheAsBitmap;
    }
    if (place.visible) {
        placement.visible = *place.visible;
    }
}

void ApplyPlace(const PlaceObject& place, std::size_t frameIndex,
                std::map<Depth, Placement>& plan) {
    const auto existing = plan.find(place.depth);
    if (place.version == 1 || !place.move) {
        if (!place.characterId) {
            return; // nothing to place
        }
        // PlaceObject2 does not place over an occupied depth; PlaceObject
        // (version 1) replaces what is there.
        if (existing != plan.end() && place.version != 1) {
            return;
        }
        Placement placement;
        placement.characterId = *place.characterId;
        placement.placedFrame = frameIndex;
        ApplyFields(place, placement);
        plan[place.depth] = std::move(placement);
        return;
    }
    if (existing == plan.end()) {
        if (place.characterId) {
            Placement placement;
            placement.characterId = *place.characterId;
            placement.placedFrame = frameIndex;
            ApplyFields(place, placement);
            plan[place.depth] = std::move(placement);
        }
        return;
    }
    Placement& placement = existing->second;
    if (place.characterId && *place.characterId != placement.characterId) {
        // Another character in the same place: a new object that keeps the
        // old one's placement where the tag does not set it.
        placement.characterId = *place.characterId;
        placement.placedFrame = frameIndex;
    }
    ApplyFields(place, placement);
}

} // namespace

void ApplyFrame(const Frame& frame, std::size_t frameIndex, std::map<Depth, Placement>& plan) {
    for (const DisplayTag& tag : frame.displayTags) {
        if (const auto* place = std::get_if<PlaceObject>(&tag)) {
            ApplyPlace(*place, frameIndex, plan);
        } else {
            plan.erase(std::get<RemoveObject>(tag).depth);
        }
    }
}

TimelineInstance::TimelineInstance(const Movie& movie, const Timeline& timeline,
                                   SpriteBudget& budget, int nesting)
    : movie(movie), timeline(timeline), budget(budget), nesting(nesting) {
    if (nesting > 0) {
        ++budget.live;
    }
}

TimelineInstance::~TimelineInstance() {
    // Children go first, so the count stays exact.
    objects.clear();
    if (nesting > 0) {
        --budget.live;
    }
}

void TimelineInstance::GotoFrame(std::size_t frame) {
    const std::size_t available = timeline.frames.size();
    if (available == 0) {
        return;
    }
    const std::size_t target = std::min(frame, available - 1);
    if (current && *current == target) {
        return;
    }
    std::map<Depth, Placement> plan;
    std::size_t from = 0;
    if (current && target > *current) {
        for (const auto& [depth, object] : objects) {
            plan.emplace(depth, object.placement);
        }
        from = *current + 1;
    }
    for (std::size_t index = from; index <= target; ++index) {
        ApplyFrame(timeline.frames[index], index, plan);
    }
    current = target;
    Reconcile(plan);
}

bool TimelineInstance::NextFrame(bool loop) {
    const std::size_t available = timeline.frames.size();
    if (available == 0) {
        return false;
    }
    if (!current) {
        GotoFrame(0);
        return true;
    }
    if (*current + 1 < available) {
        GotoFrame(*current + 1);
        return true;
    }
    if (loop && *current != 0) {
        GotoFrame(0);
        return true;
    }
    return false;
}

void TimelineInstance::AdvanceSprites() {
    for (auto& [depth, object] : objects) {
        if (object.sprite) {
            object.sprite->AdvanceSprites();
            object.sprite->NextFrame(true);
        }
    }
}

void TimelineInstance::Reconcile(std::map<Depth, Placement>& plan) {
    for (auto it = objects.begin(); it != objects.end();) {
        const auto planned = plan.find(it->first);
        if (planned != plan.end() &&
            planned->second.characterId == it->second.placement.characterId &&
            planned->second.placedFrame == it->second.placement.placedFrame) {
            it->second.placement = std::move(planned->second);
            plan.erase(planned);
            ++it;
        } else {
            it = objects.erase(it);
        }
    }
    for (auto& [depth, placement] : plan) {
        DisplayObject object;
        object.character = movie.Find(placement.characterId);
        if (object.character != nullptr) {
            const auto* sprite = std::get_if<Sprite>(&object.character->data);
            if (sprite != nullptr && nesting < budget.maxNesting && budget.live < budget.maxLive) {
                object.sprite = std::make_unique<TimelineInstance>(movie, sprite->timeline, budget,
                                                                   nesting + 1);
                object.sprite->GotoFrame(0);
            }
        }
        object.placement = std::move(placement);
        objects.emplace(depth, std::move(object));
    }
}

} // namespace swf
