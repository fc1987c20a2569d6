#include "swf/runtime/TimelineExecutor.h"

#include <algorithm>
#include <vector>

#include "swf/base/ByteReader.h"
#include "swf/format/TagCodes.h"
#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/ObjectRemoval.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/ScriptDepths.h"
#include "swf/runtime/ScriptHost.h"
#include "swf/runtime/TimelineRules.h"

namespace swf {

namespace {

bool IsGraphic(const Character* character) {
    if (character == nullptr) {
        return false;
    }
    return std::holds_alternative<Shape>(character->data) ||
           std::holds_alternative<MorphShape>(character->data) ||
           std::holds_alternative<Text>(character->data);
}

// Whether anything shows character: fonts, bitmaps, sounds and binary data
// cannot be placed.
bool Placeable(const Character* character) {
    if (character == nullptr) {
        return false;
    }
    if (const auto* raw = std::get_if<RawCharacter>(&character->data)) {
        return raw->tag.code == tag::DefineVideoStream;
    }
    return !std::holds_alternative<Font>(character->data) &&
           !std::holds_alternative<Bitmap>(character->data);
}

DepthOccupant OccupantOf(const DisplayObject* object) {
    DepthOccupant occupant;
    if (object != nullptr) {
        occupant.present = true;
        occupant.timelineOwned = object->TimelineOwned();
        occupant.graphic = IsGraphic(object->Definition());
        occupant.characterId = object->CharacterIdOrZero();
    }
    return occupant;
}

// Where an action tag stands among the frame's display tags.
std::size_t ActionPosition(const Frame& frame, std::size_t index) {
    return index < frame.actionTagPositions.size() ? frame.actionTagPositions[index]
                                                   : frame.displayTags.size();
}

} // namespace

std::unique_ptr<DisplayObject> TimelineExecutor::Make(RuntimeContext& context,
                                                      const Character* character, int nesting) {
    const ObjectBudget& budget = context.budget;
    if (!Placeable(character) || budget.liveObjects >= budget.maxObjects ||
        nesting > budget.maxNesting) {
        return nullptr;
    }
    if (const auto* sprite = std::get_if<Sprite>(&character->data)) {
        if (budget.liveClips >= budget.maxClips) {
            return nullptr;
        }
        return std::make_unique<MovieClip>(context, character, &sprite->timeline, nesting);
    }
    if (std::holds_alternative<Button>(character->data)) {
        return std::make_unique<ButtonObject>(context, *character, nesting);
    }
    if (std::holds_alternative<EditText>(character->data)) {
        return std::make_unique<EditTextObject>(context, *character);
    }
    return std::make_unique<GraphicObject>(context, *character);
}

std::unique_ptr<MovieClip> TimelineExecutor::MakeEmptyClip(RuntimeContext& context, int nesting) {
    const ObjectBudget& budget = context.budget;
    if (budget.liveObjects >= budget.maxObjects || budget.liveClips >= budget.maxClips ||
        nesting > budget.maxNesting) {
        return nullptr;
    }
    auto clip = std::make_unique<MovieClip>(context, nullptr, nullptr, nesting);
    clip->current = 0; // an empty clip shows its one (empty) frame
    return clip;
}

DisplayObject* TimelineExecutor::Insert(MovieClip& clip, std::unique_ptr<DisplayObject> object,
                                        Depth depth, bool queueConstruct) {
    DisplayObject& inserted = *object;
    inserted.parent = &clip;
    inserted.depth = depth;
    clip.children[depth] = std::move(object);
    clip.Changed();
    BringToLife(inserted, queueConstruct);
    return &inserted;
}

void TimelineExecutor::BringToLife(DisplayObject& object, bool queueConstruct) {
    RuntimeContext& context = object.context;
    if (object.Kind() == DisplayKind::MovieClip) {
        auto& clip = static_cast<MovieClip&>(object);
        context.clipsByAge.push_back(clip.Handle());
        context.Emit(ObjectCreated{clip.Handle(), clip.CharacterIdOrZero()});
        // Initialize and construct run before the actions queued ahead of
        // them; load comes in turn, before the clip's own first frame.
        context.QueueEvent(clip, ClipEvent::Initialize, ActionPriority::Initialize);
        if (queueConstruct) {
            context.QueueEvent(clip, ClipEvent::Construct, ActionPriority::Construct);
        }
        context.QueueEvent(clip, ClipEvent::Load, ActionPriority::Normal);
        EnterFirstFrame(clip);
    } else if (object.Kind() == DisplayKind::Button) {
        auto& button = static_cast<ButtonObject&>(object);
        context.Emit(ObjectCreated{button.Handle(), button.CharacterIdOrZero()});
        button.ShowState(ButtonState::Up);
    } else if (object.Kind() == DisplayKind::EditText && context.host) {
        context.host->FieldPlaced(object);
    }
}

void TimelineExecutor::EnterFirstFrame(MovieClip& clip) {
    if (!clip.current && clip.timeline != nullptr && !clip.timeline->frames.empty()) {
        RunFrame(clip, 0, FrameMode::Entered, nullptr);
    }
}

void TimelineExecutor::Advance(MovieClip& clip) {
    if (clip.timeline == nullptr || clip.timeline->frames.empty()) {
        return;
    }
    if (!clip.current) {
        RunFrame(clip, 0, FrameMode::Entered, nullptr);
        return;
    }
    const std::size_t available = clip.timeline->frames.size();
    if (*clip.current + 1 < available) {
        RunFrame(clip, *clip.current + 1, FrameMode::Entered, nullptr);
        return;
    }
    // A clip of one frame stays on it; the main timeline loops only once
    // the whole movie is in.
    if (available > 1 && (!clip.IsRoot() || clip.context.movieComplete)) {
        GoBack(clip, 0, FrameMode::Entered);
    }
}

void TimelineExecutor::Goto(MovieClip& clip, std::size_t target) {
    if (clip.timeline == nullptr || clip.timeline->frames.empty()) {
        return;
    }
    target = std::min(target, clip.timeline->frames.size() - 1);
    if (clip.current == target) {
        return;
    }
    if (clip.current && target < *clip.current) {
        GoBack(clip, target, FrameMode::Jumped);
        return;
    }
    for (std::size_t frame = clip.current ? *clip.current + 1 : 0; frame <= target; ++frame) {
        if (!RunFrame(clip, frame, frame == target ? FrameMode::Jumped : FrameMode::PassedOver,
                      nullptr)) {
            break;
        }
    }
}

void TimelineExecutor::GoBack(MovieClip& clip, std::size_t target, FrameMode mode) {
    RuntimeContext& context = clip.context;
    // What the timeline's own tags put where, from the first frame to the
    // target, by the same rules as the frames themselves.
    struct Planned {
        CharacterId characterId = 0;
        std::size_t placedFrame = 0;
        bool graphic = false;
    };
    std::map<Depth, Planned> plan;
    bool stopped = false;
    for (std::size_t index = 0; index <= target && !stopped; ++index) {
        for (const DisplayTag& tag : clip.timeline->frames[index].displayTags) {
            if (const auto* remove = std::get_if<RemoveObject>(&tag)) {
                plan.erase(remove->depth);
                continue;
            }
            const auto& place = std::get<PlaceObject>(tag);
            if (StopsTheFrame(place)) {
                stopped = true;
                break;
            }
            const auto found = plan.find(place.depth);
            DepthOccupant occupant;
            if (found != plan.end()) {
                occupant = {true, true, found->second.graphic, found->second.characterId};
            }
            const Character* character =
                place.characterId ? context.movie.Find(*place.characterId) : nullptr;
            switch (DecidePlace(place, occupant, context.SwfVersion(), IsGraphic(character))) {
            case PlaceDecision::Create:
            case PlaceDecision::Replace:
                if (Placeable(character)) {
                    plan[place.depth] = {character->id, index, IsGraphic(character)};
                } else {
                    plan.erase(place.depth);
                }
                break;
            case PlaceDecision::ChangeCharacter:
                found->second.characterId = character->id;
                break;
            case PlaceDecision::Modify:
            case PlaceDecision::Ignore:
                break;
            }
        }
    }

    // The timeline's objects still in place at the target stay (with their
    // own state); the rest of the timeline's objects go, and so does what
    // scripts put at the timeline's depths.
    KeptObjects kept;
    std::vector<DisplayObject*> children;
    for (const auto& [depth, child] : clip.children) {
        children.push_back(child.get());
    }
    for (DisplayObject* child : children) {
        if (child->Unloading()) {
            continue;
        }
        if (child->TimelineOwned()) {
            const auto planned = plan.find(child->depth);
            if (planned != plan.end() && planned->second.placedFrame == child->placedFrame &&
                planned->second.characterId == child->CharacterIdOrZero()) {
                const Depth depth = child->depth;
                kept[depth] = ObjectRemoval::Detach(*child);
            } else {
                ObjectRemoval::Remove(*child);
            }
        } else if (depths::InTimelineRange(child->depth)) {
            ObjectRemoval::Remove(*child);
        }
    }
    clip.current.reset();
    for (std::size_t index = 0; index <= target; ++index) {
        if (!RunFrame(clip, index, index == target ? mode : FrameMode::PassedOver, &kept)) {
            break;
        }
    }
    for (auto& [depth, object] : kept) {
        ObjectRemoval::Destroy(std::move(object)); // not reached again: should not happen
    }
}

bool TimelineExecutor::RunFrame(MovieClip& clip, std::size_t index, FrameMode mode,
                                KeptObjects* kept) {
    RuntimeContext& context = clip.context;
    const Frame& frame = clip.timeline->frames[index];
    const std::optional<std::size_t> before = clip.current;
    clip.current = index;
    QueueInitActions(clip, frame);
    if (mode != FrameMode::PassedOver) {
        context.Emit(FrameEntered{clip.Handle(), index, &frame, mode == FrameMode::Jumped});
    }
    // A frame's actions and the events of what it places are queued in the
    // order of their tags.
    std::size_t nextAction = 0;
    const auto queueActionsBefore = [&](std::size_t displayIndex) {
        for (; nextAction < frame.actionTags.size() &&
               ActionPosition(frame, nextAction) <= displayIndex;
             ++nextAction) {
            if (mode != FrameMode::PassedOver &&
                frame.actionTags[nextAction].code == tag::DoAction) {
                QueueFrameAction(clip, frame.actionTags[nextAction]);
            }
        }
    };
    for (std::size_t i = 0; i < frame.displayTags.size(); ++i) {
        queueActionsBefore(i);
        if (const auto* place = std::get_if<PlaceObject>(&frame.displayTags[i])) {
            if (StopsTheFrame(*place)) {
                clip.current = before ? before : std::optional<std::size_t>(index);
                return false;
            }
            Place(clip, *place, index, kept);
        } else {
            RemoveAt(clip, std::get<RemoveObject>(frame.displayTags[i]).depth);
        }
    }
    queueActionsBefore(frame.displayTags.size());
    if (mode != FrameMode::PassedOver) {
        ReportSounds(clip, frame);
    }
    return true;
}

void TimelineExecutor::Place(MovieClip& clip, const PlaceObject& place, std::size_t frameIndex,
                             KeptObjects* kept) {
    RuntimeContext& context = clip.context;
    DisplayObject* existing = clip.ChildAt(place.depth);
    const Character* character =
        place.characterId ? context.movie.Find(*place.characterId) : nullptr;
    switch (DecidePlace(place, OccupantOf(existing), context.SwfVersion(), IsGraphic(character))) {
    case PlaceDecision::Ignore:
        return;
    case PlaceDecision::Modify:
        existing->ApplyPlacement(place);
        return;
    case PlaceDecision::ChangeCharacter:
        existing->definition = character;
        existing->Changed();
        existing->ApplyPlacement(place);
        return;
    case PlaceDecision::Replace:
        ObjectRemoval::Discard(*existing);
        break;
    case PlaceDecision::Create:
        break;
    }
    if (kept != nullptr) {
        const auto found = kept->find(place.depth);
        if (found != kept->end() && found->second->placedFrame == frameIndex &&
            found->second->CharacterIdOrZero() == *place.characterId) {
            std::unique_ptr<DisplayObject> object = std::move(found->second);
            kept->erase(found);
            object->ResetPlacement(place);
            clip.children[place.depth] = std::move(object);
            return;
        }
    }
    std::unique_ptr<DisplayObject> object = Make(context, character, clip.nesting + 1);
    if (!object) {
        return;
    }
    object->timelineOwned = true;
    object->placedFrame = frameIndex;
    object->ApplyPlacement(place);
    if (place.name) {
        object->name = *place.name;
    } else if (object->Kind() == DisplayKind::MovieClip || object->Kind() == DisplayKind::Button) {
        object->name = "instance" + std::to_string(++context.instanceCount);
    }
    if (!place.clipActions.empty()) {
        object->clipActions = ReadClipActions(place.clipActions, context.SwfVersion());
    }
    Insert(clip, std::move(object), place.depth, true);
}

void TimelineExecutor::RemoveAt(MovieClip& clip, Depth depth) {
    DisplayObject* existing = clip.ChildAt(depth);
    if (RemoveApplies(OccupantOf(existing))) {
        ObjectRemoval::Remove(*existing);
    }
}

void TimelineExecutor::QueueInitActions(MovieClip& clip, const Frame& frame) {
    for (const RawTag& tag : frame.actionTags) {
        if (tag.code != tag::DoInitAction) {
            continue;
        }
        ByteReader reader(tag.body);
        const CharacterId sprite = reader.U16();
        if (reader.Ok() && clip.context.initActionsQueued.insert(sprite).second) {
            QueuedAction action;
            action.kind = ActionKind::InitActions;
            action.target = clip.Handle();
            action.tag = &tag;
            clip.context.Queue(ActionPriority::InitActions, action);
        }
    }
}

void TimelineExecutor::QueueFrameAction(MovieClip& clip, const RawTag& tag) {
    QueuedAction action;
    action.kind = ActionKind::FrameActions;
    action.target = clip.Handle();
    action.tag = &tag;
    clip.context.Queue(ActionPriority::Normal, action);
}

void TimelineExecutor::ReportSounds(MovieClip& clip, const Frame& frame) {
    for (const RawTag& tag : frame.soundTags) {
        if (tag.code == tag::StartSound || tag.code == tag::StartSound2) {
            clip.context.Emit(EventSoundStarted{clip.Handle(), &tag});
        } else if (tag.code == tag::SoundStreamHead || tag.code == tag::SoundStreamHead2 ||
                   tag.code == tag::SoundStreamBlock) {
            clip.context.Emit(SoundStreamReached{clip.Handle(), &tag});
        }
    }
}

} // namespace swf
