// A node of an XML tree as scripts see it: an element or a text, its parent
// and children, its attributes object and its childNodes array (kept in step
// with the children). An XML document is a node too, with the parser's state.
#pragma once

#include <string>
#include <vector>

#include "swf/script/ArrayObject.h"
#include "swf/script/Vm.h"

namespace swf::script::xml {

constexpr int elementNode = 1;
constexpr int textNode = 3;

class XmlNodeObject : public Object {
public:
    XmlNodeObject() : Object(ObjectClass::Other) {}

    // Made by the constructor with a type and a value; before that the
    // object has none of a node's properties.
    bool IsNode() const { return nodeType != 0; }
    // Makes this a node of a type with a name (elements) or value (texts).
    void MakeNode(Vm& vm, int type, const Value& nameOrValue);

    int nodeType = 0;
    Value nodeName = Value::Null();
    Value nodeValue = Value::Null();
    XmlNodeObject* parent = nullptr;
    std::vector<XmlNodeObject*> children;
    Object* attributes = nullptr;
    ArrayObject* childNodes = nullptr;

    // Documents.
    bool isDocument = false;
    bool ignoreWhite = false;
    double status = 0;
    Value xmlDecl;
    Value docTypeDecl;
    Value loaded;
    Value contentType;

    // The tree.
    bool IsAncestorOf(XmlNodeObject* node) const;
    void Detach(Vm& vm);
    void Insert(Vm& vm, XmlNodeObject* child, std::size_t index);
    void RemoveAllChildren(Vm& vm);
    std::size_t IndexOf(const XmlNodeObject* child) const;
    // Rewrites childNodes from children.
    void SyncChildNodes(Vm& vm);

    void Trace(Tracer& tracer) const override;
    std::size_t Footprint() const override {
        return Object::Footprint() + children.capacity() * sizeof(XmlNodeObject*);
    }
};

XmlNodeObject* AsNode(const Value& value);

// The node and the nodes above it, nearest first, each once (old movies can
// make the parents loop).
std::vector<XmlNodeObject*> NodeAndAncestors(XmlNodeObject* node);

// The node's markup: an element with its attributes and children, a text
// escaped, a document with its declarations first.
ScriptResult<std::string> NodeMarkup(Vm& vm, XmlNodeObject* node);

} // namespace swf::script::xml
