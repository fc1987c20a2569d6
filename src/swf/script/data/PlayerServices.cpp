// MovieClipLoader, FileReference, ExternalInterface, PrintJob and
// Accessibility: services of the player around the movie. On the device no
// file is picked, no page printed and no host page called; the members are
// there as Flash has them, and each answers as it does when the service is
// not available.
#include "swf/script/ArrayObject.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"
#include "swf/script/display/RuntimeClips.h"

namespace swf::script::data {

namespace {

using builtins::Method;

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

Completion Fails(NativeCall&) {
    return Value(false);
}

Completion Nothing(NativeCall&) {
    return Value();
}

// MovieClipLoader: each loader listens to itself.
class LoaderObject : public Object {
public:
    LoaderObject() : Object(ObjectClass::Other) {}
};

Object* MakeLoader(Vm& vm, Object* prototype) {
    Object* loader = vm.GetHeap().Make<LoaderObject>();
    if (prototype) {
        vm.SetPrototype(loader, prototype);
    }
    return loader;
}

bool IsLoader(const Value& value) {
    return dynamic_cast<LoaderObject*>(value.ObjectOrNull()) != nullptr;
}

Completion ConstructLoader(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    ArrayObject* listeners = vm.NewArray();
    vm.DefineOwn(listeners, vm.N().constructor, Value(vm.Builtins().arrayConstructor),
                 hiddenPermanent);
    listeners->Push(vm, Value(self));
    vm.DefineOwn(self, "_listeners", Value(listeners), hiddenPermanent);
    return call.thisValue;
}

// The clip a loader method names: a clip, or a target path.
Object* TargetClip(Vm& vm, const Value& target) {
    RuntimeClips* clips = vm.Clips() ? vm.Clips()->Runtime() : nullptr;
    if (!clips) {
        return nullptr;
    }
    if (Object* object = target.ObjectOrNull()) {
        return clips->Display(object) ? object : nullptr;
    }
    if (!target.IsString()) {
        return nullptr;
    }
    DisplayObject* found = clips->FindTarget(target.AsString()->View(), vm.CurrentTarget());
    return found ? clips->ObjectFor(found) : nullptr;
}

// getProgress(target): how much of the clip has loaded, in an object of no
// class.
Completion LoaderProgress(NativeCall& call) {
    Vm& vm = call.vm;
    // A loader's methods work for SWF 7 and later.
    if (call.Version() < 7 || !IsLoader(call.thisValue)) {
        return Value();
    }
    Object* clip = TargetClip(vm, call.Arg(0));
    if (!clip) {
        return Value();
    }
    const Completion loaded = vm.CallMethod(Value(clip), vm.Intern("getBytesLoaded"), {});
    if (loaded.IsAbrupt()) {
        return loaded;
    }
    const Completion total = vm.CallMethod(Value(clip), vm.Intern("getBytesTotal"), {});
    if (total.IsAbrupt()) {
        return total;
    }
    Object* progress = vm.NewObject(nullptr);
    vm.DefineOwn(progress, "bytesLoaded", loaded.GetValue());
    vm.DefineOwn(progress, "bytesTotal", total.GetValue());
    return Value(progress);
}

// loadClip(url, target): nothing is fetched yet. A movie from a local file
// may not ask the network (IllegalRequest); a file it asks for is not found
// (URLNotFound). The listeners hear of it at the start of the second frame
// after, as of any load that fails.
Completion LoadClip(NativeCall& call) {
    Vm& vm = call.vm;
    if (call.Version() < 7 || !IsLoader(call.thisValue) || !call.Has(1)) {
        return Value();
    }
    const auto url = vm.ToString(call.Arg(0));
    if (!url) {
        return url.Abrupt();
    }
    Object* clip = TargetClip(vm, call.Arg(1));
    if (!clip) {
        return Value(false);
    }
    Vm::Timer notice;
    notice.function = call.thisValue;
    notice.method = vm.Intern("broadcastMessage");
    const std::string_view address = (*url)->View();
    const std::size_t scheme = address.find("://");
    const bool network = scheme != std::string_view::npos &&
                         !EqualsIgnoringAsciiCase(address.substr(0, scheme), "file");
    notice.args = {Value(vm.Intern("onLoadError")), Value(clip),
                   Value(vm.Intern(network ? "IllegalRequest" : "URLNotFound")), Value(0)};
    vm.CallAtFrameStart(std::move(notice), 2);
    return Value(true);
}

constexpr Method loaderMethods[] = {
    {"getProgress", LoaderProgress, 6},
    {"loadClip", LoadClip, 6},
    {"unloadClip", Fails, 6},
};

// FileReference: a file the user picked; none is picked on the device.
Completion ConstructFileReference(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    ArrayObject* listeners = vm.NewArray();
    vm.DefineOwn(listeners, vm.N().constructor, Value(vm.Builtins().arrayConstructor),
                 hiddenPermanent);
    vm.DefineOwn(self, "_listeners", Value(listeners), 0);
    for (std::string_view name :
         {"creationDate", "creator", "modificationDate", "name", "size", "type"}) {
        Property& p = self->Properties().Add(vm.Intern(name), Value(), 0);
        p.getter = builtins::MakeFunction(vm, Nothing);
    }
    vm.DefineOwn(self, "postData", Value(vm.Intern("undefined")), 0);
    return call.thisValue;
}

constexpr Method fileReferenceMethods[] = {
    {"browse", Fails, 8},
    {"cancel", Nothing, 8},
    {"download", Fails, 8},
    {"upload", Fails, 8},
};

Completion ConstructPlain(NativeCall& call) {
    return call.constructing ? call.thisValue : Value();
}

// ExternalInterface: no host page to call; its helpers convert nothing.
constexpr Method externalInterfaceMethods[] = {
    {"_addCallback", Fails, 8},
    {"_argumentsToAS", Nothing, 8, true},
    {"_argumentsToXML", Nothing, 8, true},
    {"_arrayToAS", Nothing, 8, true},
    {"_arrayToJS", Nothing, 8, true},
    {"_arrayToXML", Nothing, 8, true},
    {"_callIn", Nothing, 8, true},
    {"_callOut", Nothing, 8},
    {"_escapeXML", Nothing, 8},
    {"_evalJS", Nothing, 8},
    {"_initJS", Nothing, 8},
    {"_jsQuoteString", Nothing, 8},
    {"_objectID", Nothing, 8},
    {"_objectToAS", Nothing, 8, true},
    {"_objectToJS", Nothing, 8, true},
    {"_objectToXML", Nothing, 8, true},
    {"_toAS", Nothing, 8, true},
    {"_toJS", Nothing, 8, true},
    {"_toXML", Nothing, 8, true},
    {"_unescapeXML", Nothing, 8},
    {"addCallback", Fails, 8, true},
    {"call", Nothing, 8, true},
};

// PrintJob: its page properties appear on the prototype when the first job
// is made.
constexpr std::string_view printJobProperties[] = {"orientation", "pageHeight", "pageWidth",
                                                   "paperHeight", "paperWidth"};

Completion ConstructPrintJob(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    Object* prototype = self->Prototype();
    if (prototype) {
        for (std::string_view name : printJobProperties) {
            String* key = vm.Intern(name);
            if (!prototype->Properties().Find(key, 9)) {
                Property& p = prototype->Properties().Add(key, Value(), hiddenPermanent);
                p.getter = builtins::MakeFunction(vm, Nothing);
            }
        }
    }
    return call.thisValue;
}

constexpr Method printJobMethods[] = {
    {"addPage", Fails, 6},
    {"send", Nothing, 6},
    {"start", Fails, 6},
};

constexpr Method accessibilityMethods[] = {
    {"isActive", Fails, 6},
    {"sendEvent", Nothing, 6},
    {"updateProperties", Nothing, 6},
};

void InstallMovieClipLoader(Vm& vm) {
    const auto parts =
        builtins::MakeClass(vm, ConstructLoader, vm.Builtins().objectPrototype, false);
    parts.constructor->makeInstance = MakeLoader;
    builtins::MakeBuiltInBroadcaster(vm, parts.prototype, PropertyFlag::Version6);
    builtins::AddMethods(vm, parts.prototype, loaderMethods);
    HideInheritanceFromSwf5(vm, parts.prototype);
    builtins::AddGlobal(vm, "MovieClipLoader", Value(parts.constructor));
}

void InstallFileReference(Vm& vm) {
    const auto parts =
        builtins::MakeClass(vm, ConstructFileReference, vm.Builtins().objectPrototype, false);
    builtins::MakeBuiltInBroadcaster(vm, parts.prototype, 0);
    builtins::AddMethods(vm, parts.prototype, fileReferenceMethods);
    vm.DefineOwn(PackageObject(vm, "flash.net"), "FileReference", Value(parts.constructor),
                 PropertyFlag::Version7);
}

void InstallExternalInterface(Vm& vm) {
    const auto parts =
        builtins::MakeClass(vm, ConstructPlain, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.constructor, externalInterfaceMethods);
    Property& available =
        parts.constructor->Properties().Add(vm.Intern("available"), Value(), hiddenPermanent);
    available.getter = builtins::MakeFunction(vm, Fails);
    // Everything of the class itself is read-only too.
    parts.constructor->Properties().ForEachMutable(
        [](Property& p) { p.flags |= hiddenPermanent | PropertyFlag::ReadOnly; });
    vm.DefineOwn(PackageObject(vm, "flash.external"), "ExternalInterface", Value(parts.constructor),
                 PropertyFlag::Version8);
}

void InstallPrintJob(Vm& vm) {
    const auto parts =
        builtins::MakeClass(vm, ConstructPrintJob, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, printJobMethods);
    builtins::AddGlobal(vm, "PrintJob", Value(parts.constructor), 6);
}

void InstallAccessibility(Vm& vm) {
    Object* accessibility = vm.NewObject();
    vm.DefineOwn(accessibility, vm.N().constructor, Value(vm.Builtins().objectConstructor));
    accessibility->Properties().ForEachMutable(
        [](Property& p) { p.flags |= hiddenPermanent | PropertyFlag::ReadOnly; });
    builtins::AddMethods(vm, accessibility, accessibilityMethods);
    // Its methods are enumerable, but fixed.
    for (const Method& m : accessibilityMethods) {
        if (Property* p = accessibility->Properties().Find(vm.Intern(m.name), 9)) {
            p->flags = (p->flags & ~PropertyFlag::DontEnum) | PropertyFlag::ReadOnly;
        }
    }
    builtins::AddGlobal(vm, "Accessibility", Value(accessibility));
}

} // namespace

void InstallPlayerServices(Vm& vm) {
    InstallMovieClipLoader(vm);
    InstallFileReference(vm);
    InstallExternalInterface(vm);
    InstallPrintJob(vm);
    InstallAccessibility(vm);
}

} // namespace swf::script::data
