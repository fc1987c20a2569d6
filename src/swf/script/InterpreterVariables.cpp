// Names and target paths: the scope chain (with blocks, function
// activations, the target clip, _global), slash syntax ("/a/b:v", "../c")
// and dot syntax ("_root.a.b").
#include <cctype>
#include <cstdlib>
#include <optional>

#include "swf/script/InterpreterCore.h"
#include "swf/script/SuperObject.h"

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

bool HasPathCharacters(std::string_view s) {
    return s.find_first_of(":/.") != std::string_view::npos;
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
    ClipHost* clips = vm.Clips();
    Object* current = a.target;
    std::size_t i = 0;
    const bool slashSyntax = path.find('/') != std::string_view::npos;
    bool first = true;
    if (!path.empty() && path[0] == '/') {
        if (!clips) {
            return static_cast<Object*>(nullptr);
        }
        Object* root = current;
        for (Object* up = root; up; up = clips->Parent(up)) {
            root = up;
        }
        current = root ? root : clips->Level(0);
        i = 1;
        first = false;
    }
    while (i <= path.size() && current) {
        const char separator = slashSyntax ? '/' : '.';
        std::size_t end = i;
        while (end < path.size() && path[end] != separator) {
            ++end;
        }
        const std::string_view segment = path.substr(i, end - i);
        i = end + 1;
        if (segment.empty()) {
            if (end >= path.size()) {
                break;
            }
            continue;
        }
        if (segment == "..") {
            current = clips ? clips->Parent(current) : nullptr;
            first = false;
            continue;
        }
        String* name = vm.Intern(segment);
        Completion got;
        if (first && !slashSyntax) {
            got = LookupName(name);
        } else if (slashSyntax && segment[0] == '.' && segment.size() > 1) {
            // "/a/.b": b is a variable of a, not its child.
            got = vm.GetMember(current, vm.Intern(segment.substr(1)));
        } else if (Object* child =
                       slashSyntax && clips ? clips->Child(current, name, a.version) : nullptr) {
            // In slash syntax a name is a child clip before any variable.
            got = Value(child);
        } else {
            got = vm.GetMember(current, name);
        }
        first = false;
        if (got.IsAbrupt()) {
            return got;
        }
        current = got.GetValue().ObjectOrNull();
        if (end >= path.size()) {
            break;
        }
    }
    return current;
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
    const std::string_view view = name->View();
    if (!HasPathCharacters(view)) {
        return LookupName(name);
    }
    std::size_t split = view.rfind(':');
    if (split == std::string_view::npos && view.find('/') != std::string_view::npos) {
        const auto clip = ResolvePath(view);
        if (!clip) {
            return clip.Abrupt();
        }
        return *clip ? Value(*clip) : Value();
    }
    if (split == std::string_view::npos) {
        split = view.rfind('.');
    }
    if (split == 0 && view[0] == '.') {
        return LookupName(name);
    }
    const auto holder = ResolvePath(view.substr(0, split));
    if (!holder) {
        return holder.Abrupt();
    }
    if (!*holder) {
        return Value();
    }
    return vm.GetMember(*holder, vm.Intern(view.substr(split + 1)));
}

Completion Interpreter::SetVariable(String* name, const Value& value) {
    const std::string_view view = name->View();
    // A slash path alone names a clip, not a variable: it is set as a plain
    // name.
    std::size_t split = view.rfind(':');
    if (split == std::string_view::npos) {
        split = view.rfind('.');
    }
    if (HasPathCharacters(view) && split != std::string_view::npos) {
        Object* holder = a.target;
        if (split > 0) {
            const auto found = ResolvePath(view.substr(0, split));
            if (!found) {
                return found.Abrupt();
            }
            holder = *found;
        } else if (view[0] == '/') {
            const auto found = ResolvePath("/");
            if (!found) {
                return found.Abrupt();
            }
            holder = *found;
        }
        if (!holder) {
            return Value();
        }
        return vm.SetMember(holder, vm.Intern(view.substr(split + 1)), value);
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
