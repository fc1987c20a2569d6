// Names and target paths: the scope chain (with blocks, function
// activations, the target clip, _global), slash syntax ("/a/b:v", "../c")
// and dot syntax ("_root.a.b").
#include <cctype>
#include <cstdlib>
#include <optional>

#include "swf/script/InterpreterCore.h"
#include "swf/script/SuperObject.h"
#include "swf/script/TargetPathSyntax.h"

namespace swf::script {

namespace {

bool IsName(const String* name, const String* wanted, int version) {
    return version >= 7 ? name == wanted : name->Folded() == wanted->Folded();
}

// N of "_levelN" (any case), if the name is one.
std::optional<int> LevelNumber(std::string_view name) {
    constexpr std::string_view prefix = "_level";
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 9) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[i])) != prefix[i]) {
            return std::nullopt;
        }
    }
    int level = 0;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        level = level * 10 + (c - '0');
    }
    return level;
}

} // namespace

bool Interpreter::Has(Object* object, String* name) {
    Value ignored;
    if (object->GetSpecial(vm, name, ignored)) {
        return true;
    }
    return vm.FindInChain(object, name) != nullptr;
}

Completion Interpreter::GetIfPresent(Object* object, String* name, bool& found) {
    found = Has(object, name);
    if (!found) {
        return Value();
    }
    return vm.GetMember(object, name);
}

Completion Interpreter::LookupName(String* name, Object** holder) {
    if (holder) {
        *holder = nullptr;
    }
    const int version = a.version;
    const Names& n = vm.N();
    if (IsName(name, n.thisName, version)) {
        return a.thisValue;
    }
    if (version >= 6 && IsName(name, n.global, version)) {
        return Value(vm.Global());
    }
    if (const auto level = LevelNumber(name->View()); level && vm.Clips()) {
        Object* clip = vm.Clips()->Level(*level);
        return clip ? Value(clip) : Value();
    }
    if (version >= 6 && a.callee && IsName(name, n.super, version)) {
        const bool suppressed = a.callee->code && a.callee->code->isFunction2 &&
                                (a.callee->code->flags & Function2Flag::SuppressSuper);
        if (!suppressed) {
            // A function called without an object has no super.
            if (!a.superHolder) {
                return Value();
            }
            return Value(vm.GetHeap().Make<SuperObject>(a.thisValue, a.superHolder));
        }
    }
    for (Scope* s = a.scope; s; s = s->parent) {
        bool found = false;
        const Completion got = GetIfPresent(s->object, name, found);
        // A with object that resolves names has every name.
        if (!found && !got.IsAbrupt() && vm.HasResolver(s->object)) {
            if (holder) {
                *holder = s->object;
            }
            return vm.Resolve(s->object, name, Value(s->object));
        }
        if (found && holder) {
            *holder = s->object;
        }
        if (found || got.IsAbrupt()) {
            return got;
        }
    }
    // A target removed from the stage gives way to the timeline running
    // the script.
    Object* target = a.target;
    if (target && target != a.originalTarget && vm.Clips() && !vm.Clips()->Alive(target)) {
        target = a.originalTarget;
    }
    if (target) {
        bool found = false;
        const Completion got = GetIfPresent(target, name, found);
        if (found && holder) {
            *holder = target;
        }
        if (found || got.IsAbrupt()) {
            return got;
        }
    }
    bool found = false;
    const Completion got = GetIfPresent(vm.Global(), name, found);
    if (found || got.IsAbrupt()) {
        return got;
    }
    return Value();
}

ScriptResult<Object*> Interpreter::ResolvePath(std::string_view path) {
    const auto steps = ParseTargetPath(path);
    if (!steps) {
        return static_cast<Object*>(nullptr);
    }
    ClipHost* clips = vm.Clips();
    Object* current = a.target;
    bool fromTarget = true;
    for (const PathStep& step : *steps) {
        if (!current) {
            break;
        }
        if (step.kind == PathStepKind::Root) {
            if (!clips) {
                return static_cast<Object*>(nullptr);
            }
            Object* root = current;
            for (Object* up = root; up; up = clips->Parent(up)) {
                root = up;
            }
            current = root ? root : clips->Level(0);
        } else if (step.kind == PathStepKind::Parent) {
            current = clips && IsClip(current) ? clips->Parent(current) : nullptr;
        } else {
            const auto next = PathStepTarget(current, vm.Intern(step.text), fromTarget);
            if (!next) {
                return next;
            }
            current = *next;
        }
        fromTarget = false;
    }
    return current;
}

ScriptResult<Object*> Interpreter::PathStepTarget(Object* current, String* stepName,
                                                  bool fromTarget) {
    ClipHost* clips = vm.Clips();
    const bool onClip = clips && IsClip(current);
    // A path finds a child clip before a variable of its name.
    if (onClip) {
        if (Object* child = clips->Child(current, stepName, a.version)) {
            return child;
        }
    }
    if (onClip) {
        if (const auto level = LevelNumber(stepName->View())) {
            return clips->Level(*level);
        }
    }
    // The first step of a path from the target may name anything in scope.
    const Completion got = fromTarget ? LookupName(stepName) : vm.GetMember(current, stepName);
    if (got.IsAbrupt()) {
        return got;
    }
    return got.GetValue().ObjectOrNull();
}

Completion Interpreter::TargetPath(std::string_view path) {
    a.target = a.originalTarget;
    if (path.empty()) {
        return Value();
    }
    const auto found = ResolvePath(path);
    if (!found) {
        return found.Abrupt();
    }
    if (*found) {
        a.target = *found;
    }
    return Value();
}

Object* Interpreter::TargetClip(const Value& target) {
    if (Object* o = target.ObjectOrNull()) {
        return o;
    }
    if (target.IsUndefined()) {
        return a.target;
    }
    const auto path = vm.ToString(target);
    if (!path) {
        return nullptr;
    }
    if ((*path)->Empty()) {
        return a.target;
    }
    const auto found = ResolvePath((*path)->View());
    return found ? *found : nullptr;
}

Completion Interpreter::GetVariable(String* name) {
    const VariableReference reference = SplitVariableName(name->View());
    if (reference.plain) {
        return LookupName(name);
    }
    if (reference.pathOnly) {
        // A path alone names a clip; failing that, a variable whose name
        // is the path text.
        const auto clip = ResolvePath(reference.holderPath);
        if (!clip) {
            return clip.Abrupt();
        }
        if (*clip && IsClip(*clip)) {
            return Value(*clip);
        }
        return LookupName(name);
    }
    if (reference.holderPath.empty()) {
        return Value();
    }
    const auto holder = ResolvePath(reference.holderPath);
    if (!holder) {
        return holder.Abrupt();
    }
    if (!*holder) {
        return Value();
    }
    return vm.GetMember(*holder, vm.Intern(reference.variable));
}

Completion Interpreter::SetVariable(String* name, const Value& value) {
    const VariableReference reference = SplitVariableName(name->View());
    // A path alone names a clip, not a variable: it is set as a plain name.
    if (!reference.plain && !reference.pathOnly) {
        Object* holder = a.target;
        if (!reference.holderPath.empty()) {
            const auto found = ResolvePath(reference.holderPath);
            if (!found) {
                return found.Abrupt();
            }
            holder = *found;
        }
        if (!holder) {
            return Value();
        }
        return vm.SetMember(holder, vm.Intern(reference.variable), value);
    }
    // A scope object takes the value only when the name is its own: one
    // it inherits is set on the timeline instead.
    for (Scope* s = a.scope; s; s = s->parent) {
        Value ignored;
        if (s->object->GetSpecial(vm, name, ignored) || vm.FindOwn(s->object, name)) {
            return vm.SetMember(s->object, name, value);
        }
    }
    if (a.target) {
        return vm.SetMember(a.target, name, value);
    }
    return vm.SetMember(vm.Global(), name, value);
}

Completion Interpreter::DefineLocal(String* name, const Value& value) {
    if (a.locals) {
        return vm.SetMember(a.locals, name, value);
    }
    return SetVariable(name, value);
}

bool Interpreter::DeleteVariable(String* name) {
    for (Scope* s = a.scope; s; s = s->parent) {
        if (vm.FindOwn(s->object, name)) {
            return vm.DeleteMember(s->object, name);
        }
    }
    if (a.target && vm.FindOwn(a.target, name)) {
        return vm.DeleteMember(a.target, name);
    }
    if (vm.FindOwn(vm.Global(), name)) {
        return vm.DeleteMember(vm.Global(), name);
    }
    return false;
}

} // namespace swf::script
