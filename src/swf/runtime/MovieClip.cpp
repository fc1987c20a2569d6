#include "swf/runtime/MovieClip.h"

#include <algorithm>

#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/ObjectRemoval.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/ScriptDepths.h"
#include "swf/runtime/TimelineExecutor.h"

namespace swf {

namespace {

bool SameName(std::string_view a, std::string_view b, bool caseSensitive) {
    if (caseSensitive) {
        return a == b;
    }
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return fold(x) == fold(y);
    });
}

} // namespace

MovieClip::MovieClip(RuntimeContext& context, const Character* definition, const Timeline* timeline,
                     int nesting)
    : DisplayObject(context, DisplayKind::MovieClip, definition), timeline(timeline),
      nesting(nesting) {
    ++context.budget.liveClips;
}

MovieClip::~MovieClip() {
    // Children go first, so the counts stay exact.
    children.clear();
    --context.budget.liveClips;
}

std::size_t MovieClip::TotalFrames() const {
    if (timeline == nullptr) {
        return 1;
    }
    if (IsRoot() && !context.movieComplete) {
        return std::max<std::size_t>(context.movie.header.frameCount, timeline->frames.size());
    }
    return timeline->frames.size();
}

std::size_t MovieClip::FramesLoaded() const {
    return timeline == nullptr ? 1 : timeline->frames.size();
}

void MovieClip::GotoFrame(std::size_t frame, bool play) {
    playing = play;
    TimelineExecutor::Goto(*this, frame);
}

bool MovieClip::GotoLabel(std::string_view label, bool play) {
    if (timeline == nullptr) {
        return false;
    }
    const auto frame = timeline->FindLabel(std::string(label));
    if (!frame) {
        return false;
    }
    GotoFrame(*frame, play);
    return true;
}

void MovieClip::NextFrame() {
    if (current && timeline != nullptr && *current + 1 < timeline->frames.size()) {
        TimelineExecutor::Goto(*this, *current + 1);
    }
    playing = false;
}

void MovieClip::PrevFrame() {
    if (current && *current > 0) {
        TimelineExecutor::Goto(*this, *current - 1);
    }
    playing = false;
}

DisplayObject* MovieClip::ChildAt(Depth depth) const {
    const auto found = children.find(depth);
    return found == children.end() ? nullptr : found->second.get();
}

DisplayObject* MovieClip::FindChild(std::string_view childName, bool caseSensitive) const {
    for (const auto& [depth, child] : children) {
        if (SameName(child->Name(), childName, caseSensitive)) {
            return child.get();
        }
    }
    return nullptr;
}

Depth MovieClip::NextHighestDepth() const {
    Depth highest = depths::ScriptOffset - 1;
    for (const auto& [depth, child] : children) {
        if (!child->Unloading()) {
            highest = std::max(highest, depth);
        }
    }
    return highest < INT32_MAX ? highest + 1 : highest;
}

namespace {

// Makes room at depth for an object a script makes there.
void ClearDepth(MovieClip& clip, Depth depth) {
    if (DisplayObject* existing = clip.ChildAt(depth)) {
        ObjectRemoval::Remove(*existing);
    }
    if (DisplayObject* stayed = clip.ChildAt(depth)) {
        ObjectRemoval::Discard(*stayed);
    }
}

} // namespace

MovieClip* MovieClip::CreateEmptyClip(std::string childName, Depth depth) {
    auto clip = TimelineExecutor::MakeEmptyClip(context, nesting + 1);
    if (!clip) {
        return nullptr;
    }
    clip->SetName(std::move(childName));
    ClearDepth(*this, depth);
    return static_cast<MovieClip*>(TimelineExecutor::Insert(*this, std::move(clip), depth, false));
}

DisplayObject* MovieClip::CreateTextField(std::string childName, Depth depth, Rect bounds) {
    auto definition = std::make_unique<Character>();
    EditText field;
    field.bounds = bounds;
    definition->data = std::move(field);
    auto object = std::make_unique<EditTextObject>(context, std::move(definition));
    object->SetName(std::move(childName));
    ClearDepth(*this, depth);
    return TimelineExecutor::Insert(*this, std::move(object), depth, false);
}

DisplayObject* MovieClip::AttachCharacter(CharacterId id, std::string childName, Depth depth) {
    auto object = TimelineExecutor::Make(context, context.movie.Find(id), nesting + 1);
    if (!object) {
        return nullptr;
    }
    object->SetName(std::move(childName));
    ClearDepth(*this, depth);
    return TimelineExecutor::Insert(*this, std::move(object), depth, false);
}

MovieClip* MovieClip::Duplicate(std::string copyName, Depth depth) {
    DisplayObject* holder = Parent();
    if (holder == nullptr || holder->Kind() != DisplayKind::MovieClip || Unloading()) {
        return nullptr;
    }
    auto& parentClip = static_cast<MovieClip&>(*holder);
    std::unique_ptr<DisplayObject> made =
        Definition() != nullptr ? TimelineExecutor::Make(context, Definition(), nesting)
                                : TimelineExecutor::MakeEmptyClip(context, nesting);
    if (!made || made->Kind() != DisplayKind::MovieClip) {
        return nullptr;
    }
    DisplayObject& copy = *made;
    copy.name = std::move(copyName);
    copy.matrix = GetMatrix();
    copy.colorTransform = GetColorTransform();
    copy.visible = Visible();
    copy.blendMode = GetBlendMode();
    copy.filters = Filters();
    copy.cacheAsBitmap = CacheAsBitmap();
    copy.clipActions = ClipActions();
    ClearDepth(parentClip, depth);
    return static_cast<MovieClip*>(
        TimelineExecutor::Insert(parentClip, std::move(made), depth, false));
}

} // namespace swf
