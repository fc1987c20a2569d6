// XML: a document node that parses text into its children, with the
// parser's status and declarations, and the loading members LoadVars has.
// Elements with an id attribute are filed as they are read: in idMap from
// SWF 8, on the document itself before.
#include <cmath>

#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"
#include "swf/script/xml/XmlClasses.h"
#include "swf/script/xml/XmlInternals.h"
#include "swf/script/xml/XmlParser.h"

namespace swf::script::xml {

namespace {

using builtins::Method;

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

XmlNodeObject* ThisDocument(const NativeCall& call) {
    XmlNodeObject* node = AsNode(call.thisValue);
    return node && node->isDocument ? node : nullptr;
}

// Builds the parsed nodes under the document as the parser finds them.
class TreeBuilder : public XmlSink {
public:
    TreeBuilder(Vm& vm, XmlNodeObject* document) : vm(vm), document(document) {
        open.push_back(document);
    }

    bool StartElement(std::string name, std::vector<std::pair<std::string, std::string>> attributes,
                      bool empty) override {
        XmlNodeObject* element = NewNode(vm, elementNode, Value(vm.NewString(std::move(name))));
        for (const auto& [attributeName, value] : attributes) {
            vm.DefineOwn(element->attributes, vm.Intern(attributeName), Value(vm.NewString(value)));
        }
        open.back()->Insert(vm, element, open.back()->children.size());
        if (!empty) {
            open.push_back(element);
        }
        for (const auto& [attributeName, value] : attributes) {
            if (attributeName == "id" && !FileById(element, value)) {
                return false;
            }
        }
        return true;
    }

    void EndElement() override {
        if (open.size() > 1) {
            open.pop_back();
        }
    }

    void Text(std::string value) override {
        XmlNodeObject* text = NewNode(vm, textNode, Value(vm.NewString(std::move(value))));
        open.back()->Insert(vm, text, open.back()->children.size());
    }

    Completion failure;

private:
    bool Keep(const Completion& c) {
        if (c.IsAbrupt()) {
            failure = c;
            return false;
        }
        return true;
    }

    bool FileById(XmlNodeObject* element, const std::string& id) {
        Object* table = document;
        if (vm.Version() >= 8) {
            String* idMap = vm.Intern("idMap");
            const Completion current = vm.GetMember(Value(document), idMap);
            if (!Keep(current)) {
                return false;
            }
            if (current.GetValue().IsUndefined()) {
                // A table of no class, like an attributes object.
                table = vm.NewObject(nullptr);
                if (!Keep(vm.SetMember(document, idMap, Value(table)))) {
                    return false;
                }
            } else {
                table = current.GetValue().ObjectOrNull();
            }
        }
        if (!table) {
            return true;
        }
        return Keep(vm.SetMember(table, vm.Intern(id), Value(element)));
    }

    Vm& vm;
    XmlNodeObject* document;
    std::vector<XmlNodeObject*> open;
};

Completion Parse(Vm& vm, XmlNodeObject* document, const Value& source) {
    const auto text = vm.ToString(source);
    if (!text) {
        return text.Abrupt();
    }
    const Completion ignoreWhite = vm.GetMember(Value(document), vm.Intern("ignoreWhite"));
    if (ignoreWhite.IsAbrupt()) {
        return ignoreWhite;
    }
    document->RemoveAllChildren(vm);
    document->xmlDecl = Value();
    document->docTypeDecl = Value();
    TreeBuilder builder(vm, document);
    const std::string copy((*text)->View());
    const ParseResult result = ParseXml(copy, vm.ToBoolean(ignoreWhite.GetValue()), builder);
    if (result.stopped) {
        return builder.failure;
    }
    document->status = static_cast<double>(result.status);
    if (result.hasXmlDecl) {
        document->xmlDecl = Value(vm.NewString(result.xmlDecl));
    }
    if (result.hasDocTypeDecl) {
        document->docTypeDecl = Value(vm.NewString(result.docTypeDecl));
    }
    return Value();
}

Completion ParseMethod(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document || call.Arg(0).IsUndefined()) {
        return Value();
    }
    return Parse(call.vm, document, call.Arg(0));
}

// createElement and createTextNode make their nodes with XMLNode itself.
Completion CreateNode(NativeCall& call, int type) {
    Vm& vm = call.vm;
    FunctionObject* constructor = NodeConstructor(vm);
    if (!constructor || call.Arg(0).IsUndefined()) {
        return Value();
    }
    const Value args[] = {Value(type), call.Arg(0)};
    return vm.Construct(Value(constructor), args);
}

Completion CreateElement(NativeCall& call) {
    return CreateNode(call, elementNode);
}

Completion CreateTextNode(NativeCall& call) {
    return CreateNode(call, textNode);
}

// A document's properties take their values as text: a value set is made a
// string first (an object's toString runs); undefined changes nothing.
ScriptResult<Value> AsText(Vm& vm, const Value& value) {
    if (value.IsUndefined()) {
        return value;
    }
    const auto text = vm.ToString(value);
    if (!text) {
        return text.Abrupt();
    }
    return Value(*text);
}

Completion GetIgnoreWhite(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    return document ? Value(document->ignoreWhite) : Value();
}

Completion SetIgnoreWhite(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    const auto text = AsText(call.vm, call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    if (!call.Arg(0).IsUndefined()) {
        document->ignoreWhite = call.vm.ToBoolean(call.Arg(0));
    }
    return Value();
}

Completion GetStatus(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    return document ? Value(document->status) : Value();
}

Completion SetStatus(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    const auto text = AsText(call.vm, call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    // A whole number: fractions are cut off, and what is no finite number
    // is 0.
    const auto number = call.vm.ToNumber(call.Arg(0));
    if (!number) {
        return number.Abrupt();
    }
    document->status = std::isfinite(*number) ? std::trunc(*number) : 0.0;
    return Value();
}

// xmlDecl and docTypeDecl: text a script may set, undefined leaving them.
template <Value XmlNodeObject::*text>
Completion GetDeclaration(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    return document ? document->*text : Value();
}

template <Value XmlNodeObject::*text>
Completion SetDeclaration(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    const auto value = AsText(call.vm, call.Arg(0));
    if (!value) {
        return value.Abrupt();
    }
    if (!value->IsUndefined()) {
        document->*text = *value;
    }
    return Value();
}

Completion GetLoaded(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    return document ? document->loaded : Value();
}

// loaded is undefined until a load ends, then true or false.
Completion SetLoaded(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    const auto text = AsText(call.vm, call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    if (!call.Arg(0).IsUndefined()) {
        document->loaded = Value(call.vm.ToBoolean(call.Arg(0)));
    }
    return Value();
}

// contentType: the document's own once set, the form type until then.
Completion GetContentType(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    if (document->contentType.IsUndefined()) {
        return Value(call.vm.Intern("application/x-www-form-urlencoded"));
    }
    return document->contentType;
}

Completion SetContentType(NativeCall& call) {
    XmlNodeObject* document = ThisDocument(call);
    if (!document) {
        return Value();
    }
    const auto text = AsText(call.vm, call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    if (!text->IsUndefined()) {
        document->contentType = *text;
    }
    return Value();
}

struct Accessor {
    std::string_view name;
    NativeFunction getter;
    NativeFunction setter;
};

constexpr Accessor documentAccessors[] = {
    {"contentType", GetContentType, SetContentType},
    {"docTypeDecl", GetDeclaration<&XmlNodeObject::docTypeDecl>,
     SetDeclaration<&XmlNodeObject::docTypeDecl>},
    {"ignoreWhite", GetIgnoreWhite, SetIgnoreWhite},
    {"loaded", GetLoaded, SetLoaded},
    {"status", GetStatus, SetStatus},
    {"xmlDecl", GetDeclaration<&XmlNodeObject::xmlDecl>, SetDeclaration<&XmlNodeObject::xmlDecl>},
};

void AddDocumentAccessors(Vm& vm, Object* prototype) {
    for (const Accessor& a : documentAccessors) {
        String* name = vm.Intern(a.name);
        if (prototype->Properties().Find(name, 9)) {
            continue;
        }
        Property& p = prototype->Properties().Add(name, Value(), hiddenPermanent);
        p.getter = builtins::MakeFunction(vm, a.getter);
        p.setter = builtins::MakeFunction(vm, a.setter);
    }
}

// onData: parses what came, or reports that nothing did.
Completion OnData(NativeCall& call) {
    return data::DeliverData(call, "parseXML");
}

Completion Nothing(NativeCall&) {
    return Value();
}

Completion Fails(NativeCall&) {
    return Value(false);
}

Completion BytesLoaded(NativeCall& call) {
    return call.vm.GetMember(call.thisValue, call.vm.Intern("_bytesLoaded"));
}

Completion BytesTotal(NativeCall& call) {
    return call.vm.GetMember(call.thisValue, call.vm.Intern("_bytesTotal"));
}

constexpr Method documentMethods[] = {
    {"addRequestHeader", data::AddRequestHeader, 5},
    {"createElement", CreateElement, 5},
    {"createTextNode", CreateTextNode, 5},
    {"getBytesLoaded", BytesLoaded, 5},
    {"getBytesTotal", BytesTotal, 5},
    {"load", data::LoadFromUrl, 5},
    {"onData", OnData, 5},
    {"onLoad", Nothing, 5},
    {"parseXML", ParseMethod, 5},
    {"send", Fails, 5},
    {"sendAndLoad", Fails, 5},
};

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    auto* self = dynamic_cast<XmlNodeObject*>(call.ThisObject());
    if (!call.constructing || !self) {
        return Value();
    }
    self->MakeNode(vm, elementNode, Value::Null());
    self->isDocument = true;
    if (Object* prototype = self->Prototype()) {
        AddDocumentAccessors(vm, prototype);
        if (Object* nodePrototype = prototype->Prototype()) {
            AddNodeAccessors(vm, nodePrototype);
        }
    }
    if (call.Has(0) && !call.Arg(0).IsUndefined()) {
        const Completion parsed = Parse(vm, self, call.Arg(0));
        if (parsed.IsAbrupt()) {
            return parsed;
        }
    }
    return call.thisValue;
}

Object* MakeDocumentInstance(Vm& vm, Object* prototype) {
    XmlNodeObject* document = vm.GetHeap().Make<XmlNodeObject>();
    if (prototype) {
        vm.SetPrototype(document, prototype);
    }
    return document;
}

// ASnative(100, 5): text with its markup characters as entities.
Completion EscapeText(NativeCall& call) {
    if (!call.Has(0)) {
        return Value();
    }
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    return Value(call.vm.NewString(EscapeXml((*text)->View())));
}

} // namespace

void InstallXml(Vm& vm) {
    FunctionObject* nodeConstructor = InstallXmlNode(vm);
    const Property* p = nodeConstructor->Properties().Find(vm.N().prototype, 9);
    Object* nodePrototype = p ? p->value.ObjectOrNull() : nullptr;
    // XMLNode's prototype has its accessors from the start; a prototype a
    // script puts in its place gets them when the next node is made.
    if (nodePrototype) {
        AddNodeAccessors(vm, nodePrototype);
    }
    const auto parts = builtins::MakeClass(vm, Construct, nodePrototype, false);
    parts.constructor->makeInstance = MakeDocumentInstance;
    builtins::AddMethods(vm, parts.prototype, documentMethods);
    builtins::AddGlobal(vm, "XML", Value(parts.constructor));
    vm.RegisterNative(100, 5, EscapeText);
}

} // namespace swf::script::xml
