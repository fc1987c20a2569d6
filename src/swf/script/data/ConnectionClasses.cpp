// XMLSocket, LocalConnection, SharedObject and RemoteLSOUsage: connections
// to a server, to other movies, and to stored objects. Nothing answers on the
// device: every connection fails, and a shared object keeps its data for the
// session only.
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"

namespace swf::script::data {

namespace {

using builtins::Method;

Completion Construct(NativeCall& call) {
    return call.constructing ? call.thisValue : Value();
}

Completion Fails(NativeCall&) {
    return Value(false);
}

Completion Nothing(NativeCall&) {
    return Value();
}

// XMLSocket's onData hands what arrived to onXML as a parsed document.
Completion SocketOnData(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion xmlClass = vm.GetMember(Value(vm.Global()), vm.Intern("XML"));
    if (xmlClass.IsAbrupt()) {
        return xmlClass;
    }
    const Value args[] = {call.Arg(0)};
    const Completion document = vm.Construct(xmlClass.GetValue(), args);
    if (document.IsAbrupt()) {
        return document;
    }
    const Value xmlArgs[] = {document.GetValue()};
    return vm.CallMethod(call.thisValue, vm.Intern("onXML"), xmlArgs);
}

constexpr Method socketMethods[] = {
    {"close", Nothing, 5},
    {"connect", Fails, 5},
    {"onData", SocketOnData, 5, true},
    {"send", Nothing, 5},
};

// LocalConnection.domain: where the movie came from; a local file has
// "localhost".
Completion ConnectionDomain(NativeCall& call) {
    return Value(call.vm.Intern("localhost"));
}

constexpr Method localConnectionMethods[] = {
    {"close", Nothing, 5},
    {"connect", Fails, 5},
    {"domain", ConnectionDomain, 5},
    {"send", Fails, 5},
};

// SharedObject.getLocal: a new object whose data lives as long as the movie.
Completion GetLocal(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion prototype = vm.GetMember(call.thisValue, vm.N().prototype);
    if (prototype.IsAbrupt()) {
        return prototype;
    }
    Object* shared = vm.NewObject(prototype.GetValue().ObjectOrNull());
    vm.DefineOwn(shared, "data", Value(vm.NewObject()), PropertyFlag::DontDelete);
    return Value(shared);
}

Completion GetRemote(NativeCall&) {
    return Value::Null();
}

Completion NoDiskUsage(NativeCall&) {
    return Value(0);
}

Completion Clear(NativeCall& call) {
    if (Object* self = call.ThisObject()) {
        call.vm.DefineOwn(self, "data", Value(call.vm.NewObject()), PropertyFlag::DontDelete);
    }
    return Value();
}

constexpr Method sharedObjectMethods[] = {
    {"clear", Clear, 5},         {"close", Nothing, 5}, {"connect", Fails, 5}, {"flush", Fails, 5},
    {"getSize", NoDiskUsage, 5}, {"send", Nothing, 5},  {"setFps", Fails, 5},
};

} // namespace

void InstallConnectionClasses(Vm& vm) {
    Object* objectPrototype = vm.Builtins().objectPrototype;

    const auto socket = builtins::MakeClass(vm, Construct, objectPrototype, false);
    builtins::AddMethods(vm, socket.prototype, socketMethods);
    builtins::AddGlobal(vm, "XMLSocket", Value(socket.constructor));

    const auto connection = builtins::MakeClass(vm, Construct, objectPrototype, false);
    builtins::AddMethods(vm, connection.prototype, localConnectionMethods);
    builtins::AddGlobal(vm, "LocalConnection", Value(connection.constructor));

    const auto shared = builtins::MakeClass(vm, Construct, objectPrototype, false);
    builtins::AddMethods(vm, shared.prototype, sharedObjectMethods);
    // The class's own functions were written in script; getLocal and
    // getRemote are even enumerable and deletable.
    struct StaticFunction {
        std::string_view name;
        NativeFunction function;
        std::uint16_t flags;
    };
    constexpr StaticFunction statics[] = {
        {"deleteAll", Fails, PropertyFlag::DontEnum},
        {"getDiskUsage", NoDiskUsage, PropertyFlag::DontEnum},
        {"getLocal", GetLocal, 0},
        {"getRemote", GetRemote, 0},
    };
    for (const StaticFunction& s : statics) {
        FunctionObject* function = builtins::MakeFunction(vm, s.function);
        builtins::GiveFunctionPrototype(vm, function);
        vm.DefineOwn(shared.constructor, s.name, Value(function), s.flags);
    }
    builtins::AddGlobal(vm, "SharedObject", Value(shared.constructor));

    // RemoteLSOUsage, a script-written class of the player's that asks a
    // server how much of its shared-object space a page uses; there is no
    // server to ask here, so its one function answers nothing.
    const auto remoteUsage = builtins::MakeClass(vm, Construct, objectPrototype, false);
    FunctionObject* pageSupport = builtins::MakeFunction(vm, Nothing);
    builtins::GiveFunctionPrototype(vm, pageSupport);
    vm.DefineOwn(remoteUsage.constructor, "getURLPageSupport", Value(pageSupport),
                 PropertyFlag::DontEnum);
    builtins::AddGlobal(vm, "RemoteLSOUsage", Value(remoteUsage.constructor));
}

} // namespace swf::script::data
