// XMLNode: the members of a node. Its properties are accessors on the
// prototype, made there when the constructor first makes a node, as Flash
// does; an object the constructor could not make a node of has none of them.
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/xml/XmlClasses.h"
#include "swf/script/xml/XmlInternals.h"
#include "swf/script/xml/XmlNodeObject.h"

namespace swf::script::xml {

namespace {

using builtins::Method;

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

XmlNodeObject* ThisNode(const NativeCall& call) {
    return AsNode(call.thisValue);
}

Value OrNull(Object* object) {
    return object ? Value(object) : Value::Null();
}

Completion GetNodeType(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? Value(node->nodeType) : Value();
}

Completion GetNodeName(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? node->nodeName : Value();
}

Completion GetNodeValue(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? node->nodeValue : Value();
}

// A name or value set by a script: a string, or null for null and undefined.
ScriptResult<Value> NameOrValue(Vm& vm, const Value& value) {
    if (value.IsNullish()) {
        return Value::Null();
    }
    const auto text = vm.ToString(value);
    if (!text) {
        return text.Abrupt();
    }
    return Value(*text);
}

// Any name set is a string, "null" too; undefined changes nothing.
Completion SetNodeName(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (node && !call.Arg(0).IsUndefined()) {
        const auto value = call.vm.ToString(call.Arg(0));
        if (!value) {
            return value.Abrupt();
        }
        node->nodeName = Value(*value);
    }
    return Value();
}

Completion SetNodeValue(NativeCall& call) {
    if (XmlNodeObject* node = ThisNode(call)) {
        const auto value = NameOrValue(call.vm, call.Arg(0));
        if (!value) {
            return value.Abrupt();
        }
        node->nodeValue = *value;
    }
    return Value();
}

Completion GetFirstChild(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    return OrNull(node->children.empty() ? nullptr : node->children.front());
}

Completion GetLastChild(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    return OrNull(node->children.empty() ? nullptr : node->children.back());
}

XmlNodeObject* Sibling(XmlNodeObject* node, int step) {
    if (!node->parent) {
        return nullptr;
    }
    const auto& siblings = node->parent->children;
    const std::size_t index = node->parent->IndexOf(node);
    if (step < 0) {
        return index == 0 ? nullptr : siblings[index - 1];
    }
    return index + 1 < siblings.size() ? siblings[index + 1] : nullptr;
}

Completion GetNextSibling(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? OrNull(Sibling(node, 1)) : Value();
}

Completion GetPreviousSibling(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? OrNull(Sibling(node, -1)) : Value();
}

Completion GetParentNode(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? OrNull(node->parent) : Value();
}

Completion GetChildNodes(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? OrNull(node->childNodes) : Value();
}

Completion GetAttributes(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? OrNull(node->attributes) : Value();
}

Completion SetAttributes(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (node && call.Arg(0).IsObject()) {
        node->attributes = call.Arg(0).AsObject();
    }
    return Value();
}

// The element's name as prefix and local name; null for other nodes.
ScriptResult<std::optional<std::pair<std::string, std::string>>> SplitName(Vm& vm,
                                                                           XmlNodeObject* node) {
    using Parts = std::optional<std::pair<std::string, std::string>>;
    if (node->nodeType != elementNode || node->nodeName.IsNullish()) {
        return Parts();
    }
    const auto text = vm.ToString(node->nodeName);
    if (!text) {
        return text.Abrupt();
    }
    const std::string_view name = (*text)->View();
    // A colon with nothing after it divides nothing.
    const std::size_t colon = name.find(':');
    if (colon == std::string_view::npos || colon + 1 == name.size()) {
        return Parts(std::pair(std::string(), std::string(name)));
    }
    return Parts(
        std::pair(std::string(name.substr(0, colon)), std::string(name.substr(colon + 1))));
}

Completion GetPrefix(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    const auto parts = SplitName(call.vm, node);
    if (!parts) {
        return parts.Abrupt();
    }
    return *parts ? Value(call.vm.NewString((*parts)->first)) : Value::Null();
}

Completion GetLocalName(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    const auto parts = SplitName(call.vm, node);
    if (!parts) {
        return parts.Abrupt();
    }
    return *parts ? Value(call.vm.NewString((*parts)->second)) : Value::Null();
}

// The namespace an xmlns attribute of the node or an ancestor gives a
// prefix ("" for the default one), or nothing.
ScriptResult<std::optional<Value>> FindNamespace(Vm& vm, XmlNodeObject* node,
                                                 std::string_view prefix) {
    String* attribute =
        vm.Intern(prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix));
    for (XmlNodeObject* p : NodeAndAncestors(node)) {
        if (p->attributes && vm.HasOwnProperty(p->attributes, attribute)) {
            const Completion value = vm.GetMember(p->attributes, attribute);
            if (value.IsAbrupt()) {
                return value;
            }
            return std::optional<Value>(value.GetValue());
        }
    }
    return std::optional<Value>();
}

Completion GetNamespaceUri(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    const auto parts = SplitName(call.vm, node);
    if (!parts) {
        return parts.Abrupt();
    }
    if (!*parts) {
        return Value::Null();
    }
    const auto found = FindNamespace(call.vm, node, (*parts)->first);
    if (!found) {
        return found.Abrupt();
    }
    return *found ? **found : Value(call.vm.Intern(""));
}

Completion GetNamespaceForPrefix(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    if (call.Arg(0).IsUndefined()) {
        return Value::Null();
    }
    const auto prefix = call.vm.ToString(call.Arg(0));
    if (!prefix) {
        return prefix.Abrupt();
    }
    const auto found = FindNamespace(call.vm, node, (*prefix)->View());
    if (!found) {
        return found.Abrupt();
    }
    return *found ? **found : Value::Null();
}

// The prefix an xmlns attribute of the node or an ancestor binds to a URI.
Completion GetPrefixForNamespace(NativeCall& call) {
    Vm& vm = call.vm;
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    const auto uri = vm.ToString(call.Arg(0));
    if (!uri) {
        return uri.Abrupt();
    }
    for (XmlNodeObject* p : NodeAndAncestors(node)) {
        if (!p->attributes) {
            continue;
        }
        for (String* name : vm.EnumerableNames(p->attributes)) {
            const std::string_view n = name->View();
            if (n != "xmlns" && n.substr(0, 6) != "xmlns:") {
                continue;
            }
            const Completion value = vm.GetMember(p->attributes, name);
            if (value.IsAbrupt()) {
                return value;
            }
            const auto text = vm.ToString(value.GetValue());
            if (!text) {
                return text.Abrupt();
            }
            if ((*text)->View() == (*uri)->View()) {
                return Value(vm.NewString(n.size() > 6 ? n.substr(6) : std::string_view()));
            }
        }
    }
    return Value::Null();
}

Completion HasChildNodes(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    return node ? Value(!node->children.empty()) : Value();
}

Completion AppendChild(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    XmlNodeObject* child = AsNode(call.Arg(0));
    // From SWF 8 a node cannot hold itself or one of its ancestors (older
    // movies may make a loop). One of its children stays where it is.
    if (node && child && child->parent != node &&
        (call.vm.Version() < 8 || !child->IsAncestorOf(node))) {
        node->Insert(call.vm, child, node->children.size());
    }
    return Value();
}

Completion InsertBefore(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    XmlNodeObject* child = AsNode(call.Arg(0));
    XmlNodeObject* before = AsNode(call.Arg(1));
    if (!node || !child || !before || before->parent != node || child == before ||
        (call.vm.Version() >= 8 && child->IsAncestorOf(node))) {
        return Value();
    }
    child->Detach(call.vm);
    node->Insert(call.vm, child, node->IndexOf(before));
    return Value();
}

Completion RemoveNode(NativeCall& call) {
    if (XmlNodeObject* node = ThisNode(call)) {
        node->Detach(call.vm);
    }
    return Value();
}

Completion CloneNode(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    if (!node) {
        return Value();
    }
    return Value(CloneTree(call.vm, node, call.vm.ToBoolean(call.Arg(0))));
}

Completion NodeToString(NativeCall& call) {
    XmlNodeObject* node = ThisNode(call);
    // An object the constructor made no node of has no markup.
    if (!node) {
        return Value(call.vm.Intern("[type Object]"));
    }
    const auto markup = NodeMarkup(call.vm, node);
    if (!markup) {
        return markup.Abrupt();
    }
    return Value(call.vm.NewString(*markup));
}

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    auto* self = dynamic_cast<XmlNodeObject*>(call.ThisObject());
    if (!call.constructing || !self || !call.Has(1) || call.Arg(1).IsUndefined()) {
        return Value();
    }
    const auto type = vm.ToNumber(call.Arg(0));
    if (!type) {
        return type.Abrupt();
    }
    if (call.Arg(0).IsUndefined()) {
        return call.thisValue;
    }
    const auto value = vm.ToString(call.Arg(1));
    if (!value) {
        return value.Abrupt();
    }
    self->MakeNode(vm, *type == elementNode ? elementNode : textNode, Value(*value));
    if (Object* prototype = self->Prototype()) {
        AddNodeAccessors(vm, prototype);
    }
    return call.thisValue;
}

Object* MakeNodeInstance(Vm& vm, Object* prototype) {
    XmlNodeObject* node = vm.GetHeap().Make<XmlNodeObject>();
    if (prototype) {
        vm.SetPrototype(node, prototype);
    }
    return node;
}

constexpr Method nodeMethods[] = {
    {"appendChild", AppendChild, 5},
    {"cloneNode", CloneNode, 5},
    {"getNamespaceForPrefix", GetNamespaceForPrefix, 5},
    {"getPrefixForNamespace", GetPrefixForNamespace, 5},
    {"hasChildNodes", HasChildNodes, 5},
    {"insertBefore", InsertBefore, 5},
    {"removeNode", RemoveNode, 5},
    {"toString", NodeToString, 5},
};

struct Accessor {
    std::string_view name;
    NativeFunction getter;
    NativeFunction setter;
};

constexpr Accessor nodeAccessors[] = {
    {"attributes", GetAttributes, SetAttributes},
    {"childNodes", GetChildNodes, nullptr},
    {"firstChild", GetFirstChild, nullptr},
    {"lastChild", GetLastChild, nullptr},
    {"localName", GetLocalName, nullptr},
    {"namespaceURI", GetNamespaceUri, nullptr},
    {"nextSibling", GetNextSibling, nullptr},
    {"nodeName", GetNodeName, SetNodeName},
    {"nodeType", GetNodeType, nullptr},
    {"nodeValue", GetNodeValue, SetNodeValue},
    {"parentNode", GetParentNode, nullptr},
    {"prefix", GetPrefix, nullptr},
    {"previousSibling", GetPreviousSibling, nullptr},
};

} // namespace

void AddNodeAccessors(Vm& vm, Object* prototype) {
    for (const Accessor& a : nodeAccessors) {
        String* name = vm.Intern(a.name);
        if (prototype->Properties().Find(name, 9)) {
            continue;
        }
        Property& p = prototype->Properties().Add(name, Value(), hiddenPermanent);
        p.getter = builtins::MakeFunction(vm, a.getter);
        p.setter = a.setter ? builtins::MakeFunction(vm, a.setter) : nullptr;
    }
}

FunctionObject* NodeConstructor(Vm& vm) {
    const Property* p = vm.Global()->Properties().Find(vm.Intern("XMLNode"), 9);
    Object* object = p ? p->value.ObjectOrNull() : nullptr;
    return object && object->IsFunction() ? static_cast<FunctionObject*>(object) : nullptr;
}

XmlNodeObject* NewNode(Vm& vm, int type, const Value& nameOrValue) {
    Object* prototype = nullptr;
    if (FunctionObject* constructor = NodeConstructor(vm)) {
        const Property* p = constructor->Properties().Find(vm.N().prototype, 9);
        prototype = p ? p->value.ObjectOrNull() : nullptr;
    }
    auto* node = static_cast<XmlNodeObject*>(MakeNodeInstance(vm, prototype));
    node->MakeNode(vm, type, nameOrValue);
    if (FunctionObject* constructor = NodeConstructor(vm)) {
        vm.DefineOwn(node, vm.N().constructor, Value(constructor), hiddenPermanent);
    }
    return node;
}

XmlNodeObject* CloneTree(Vm& vm, XmlNodeObject* node, bool deep) {
    XmlNodeObject* copy = NewNode(vm, node->nodeType == textNode ? textNode : elementNode,
                                  node->nodeType == textNode ? node->nodeValue : node->nodeName);
    if (node->nodeType == elementNode) {
        copy->nodeValue = node->nodeValue;
    }
    if (node->attributes) {
        for (String* name : vm.EnumerableNames(node->attributes)) {
            if (const Property* p = node->attributes->Properties().Find(name, 9)) {
                vm.DefineOwn(copy->attributes, name, p->value);
            }
        }
    }
    if (deep) {
        for (XmlNodeObject* child : node->children) {
            XmlNodeObject* childCopy = CloneTree(vm, child, true);
            copy->children.push_back(childCopy);
            childCopy->parent = copy;
        }
        copy->SyncChildNodes(vm);
    }
    return copy;
}

FunctionObject* InstallXmlNode(Vm& vm) {
    const auto parts = builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    parts.constructor->makeInstance = MakeNodeInstance;
    builtins::AddMethods(vm, parts.prototype, nodeMethods);
    builtins::AddGlobal(vm, "XMLNode", Value(parts.constructor));
    return parts.constructor;
}

} // namespace swf::script::xml
