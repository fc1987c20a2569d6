#include "swf/script/display/ClipObject.h"

#include "swf/script/Vm.h"
#include "swf/script/display/ClipProperties.h"
#include "swf/script/text/FieldModel.h"

namespace swf::script {

namespace {

// _root: the level, or from SWF 7 the nearest clip up from this one (itself
// included) whose _lockroot is true.
Object* RootOf(Vm& vm, ClipHost& clips, Object* clip) {
    if (vm.Version() >= 7) {
        String* lockRoot = vm.Intern("_lockroot");
        for (Object* o = clip; o; o = clips.Parent(o)) {
            const Property* p = o->Properties().Find(lockRoot, vm.Version());
            if (p && !p->IsAccessor() && vm.ToBoolean(p->value)) {
                return o;
            }
        }
    }
    return clips.Level(0);
}

} // namespace

ClipObject::~ClipObject() = default;

bool ClipObject::GetSpecial(Vm& vm, String* name, Value& out) {
    ClipHost* clips = vm.Clips();
    if (!clips) {
        return false;
    }
    // A reference to a clip that left reads the clip now at its path, or
    // nothing.
    if (Object* live = clips->Live(this); live != this) {
        if (!live) {
            out = Value();
            return true;
        }
        const Completion got = vm.GetMember(live, name);
        out = got.IsNormal() ? got.GetValue() : Value();
        return true;
    }
    const std::string_view view = name->View();
    if (!view.empty() && view[0] == '_') {
        if (const auto property = ClipPropertyByName(view)) {
            out = clips->GetProperty(this, *property);
            return true;
        }
        if (name->Folded() == vm.N().parent->Folded()) {
            Object* parent = clips->Parent(this);
            out = parent ? Value(parent) : Value();
            return true;
        }
        if (name->Folded() == vm.N().root->Folded()) {
            out = Value(RootOf(vm, *clips, this));
            return true;
        }
    }
    // A variable of the timeline comes before a child of the same name.
    if (Properties().Find(name, vm.Version())) {
        return false;
    }
    if (Object* child = clips->Child(this, name, vm.Version())) {
        out = Value(child);
        return true;
    }
    return false;
}

bool ClipObject::SetSpecial(Vm& vm, String* name, const Value& value) {
    ClipHost* clips = vm.Clips();
    if (!clips) {
        return false;
    }
    if (Object* live = clips->Live(this); live != this) {
        if (live) {
            vm.SetMember(live, name, value);
        }
        return true;
    }
    // A timeline keeps no variable without a name.
    if (name->Empty()) {
        return true;
    }
    if (name->View()[0] != '_') {
        return false;
    }
    const auto property = ClipPropertyByName(name->View());
    if (!property) {
        return false;
    }
    clips->SetProperty(this, *property, value);
    return true;
}

void ClipObject::ExtraEnumerable(Vm& vm, std::vector<String*>& names) {
    if (ClipHost* clips = vm.Clips()) {
        clips->ChildNames(this, names);
    }
}

} // namespace swf::script
