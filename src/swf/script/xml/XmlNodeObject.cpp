#include "swf/script/xml/XmlNodeObject.h"

#include <algorithm>
#include <unordered_set>

#include "swf/script/xml/XmlParser.h"

namespace swf::script::xml {

namespace {

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

} // namespace

void XmlNodeObject::MakeNode(Vm& vm, int type, const Value& nameOrValue) {
    nodeType = type;
    if (type == elementNode) {
        nodeName = nameOrValue;
    } else {
        nodeValue = nameOrValue;
    }
    // Attributes live in an object of no class at all.
    attributes = vm.NewObject(nullptr);
    childNodes = vm.NewArray();
    vm.DefineOwn(childNodes, vm.N().constructor, Value(vm.Builtins().arrayConstructor),
                 hiddenPermanent);
}

std::vector<XmlNodeObject*> NodeAndAncestors(XmlNodeObject* node) {
    std::vector<XmlNodeObject*> chain;
    std::unordered_set<const XmlNodeObject*> seen;
    for (XmlNodeObject* p = node; p && seen.insert(p).second; p = p->parent) {
        chain.push_back(p);
    }
    return chain;
}

bool XmlNodeObject::IsAncestorOf(XmlNodeObject* node) const {
    const auto chain = NodeAndAncestors(node);
    return std::find(chain.begin(), chain.end(), this) != chain.end();
}

std::size_t XmlNodeObject::IndexOf(const XmlNodeObject* child) const {
    return static_cast<std::size_t>(std::find(children.begin(), children.end(), child) -
                                    children.begin());
}

void XmlNodeObject::Detach(Vm& vm) {
    if (!parent) {
        return;
    }
    XmlNodeObject* from = parent;
    from->children.erase(from->children.begin() + static_cast<std::ptrdiff_t>(from->IndexOf(this)));
    parent = nullptr;
    from->SyncChildNodes(vm);
}

void XmlNodeObject::Insert(Vm& vm, XmlNodeObject* child, std::size_t index) {
    child->Detach(vm);
    index = std::min(index, children.size());
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(index), child);
    child->parent = this;
    SyncChildNodes(vm);
}

void XmlNodeObject::RemoveAllChildren(Vm& vm) {
    for (XmlNodeObject* child : children) {
        child->parent = nullptr;
    }
    children.clear();
    SyncChildNodes(vm);
}

void XmlNodeObject::SyncChildNodes(Vm& vm) {
    if (!childNodes) {
        return;
    }
    std::vector<Value> values(children.begin(), children.end());
    childNodes->Assign(vm, values);
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (Property* p = childNodes->Properties().Find(vm.IndexName(i), 9)) {
            p->flags |= PropertyFlag::ReadOnly;
        }
    }
}

void XmlNodeObject::Trace(Tracer& tracer) const {
    Object::Trace(tracer);
    tracer.Visit(nodeName);
    tracer.Visit(nodeValue);
    tracer.Visit(parent);
    for (const XmlNodeObject* child : children) {
        tracer.Visit(child);
    }
    tracer.Visit(attributes);
    tracer.Visit(childNodes);
    tracer.Visit(xmlDecl);
    tracer.Visit(docTypeDecl);
    tracer.Visit(loaded);
    tracer.Visit(contentType);
}

XmlNodeObject* AsNode(const Value& value) {
    Object* object = value.ObjectOrNull();
    auto* node = dynamic_cast<XmlNodeObject*>(object);
    return node && node->IsNode() ? node : nullptr;
}

namespace {

Completion AppendOwnMarkup(Vm& vm, XmlNodeObject* node, std::string& out,
                           std::vector<const XmlNodeObject*>& path);

ScriptResult<std::string> TextOf(Vm& vm, const Value& value) {
    const auto text = vm.ToString(value);
    if (!text) {
        return text.Abrupt();
    }
    return std::string((*text)->View());
}

// path: the nodes being written around this one; a node met again inside
// itself (a loop an old movie made) is written once.
Completion AppendMarkup(Vm& vm, XmlNodeObject* node, std::string& out,
                        std::vector<const XmlNodeObject*>& path) {
    if (std::find(path.begin(), path.end(), node) != path.end()) {
        return Value();
    }
    path.push_back(node);
    const Completion done = AppendOwnMarkup(vm, node, out, path);
    path.pop_back();
    return done;
}

Completion AppendOwnMarkup(Vm& vm, XmlNodeObject* node, std::string& out,
                           std::vector<const XmlNodeObject*>& path) {
    if (node->nodeType == textNode) {
        if (!node->nodeValue.IsNullish()) {
            const auto text = TextOf(vm, node->nodeValue);
            if (!text) {
                return text.Abrupt();
            }
            out += EscapeXml(*text);
        }
        return Value();
    }
    const bool named = !node->nodeName.IsNullish();
    if (named) {
        const auto name = TextOf(vm, node->nodeName);
        if (!name) {
            return name.Abrupt();
        }
        out += '<';
        out += *name;
        if (node->attributes) {
            const std::vector<String*> names = vm.EnumerableNames(node->attributes);
            for (auto it = names.rbegin(); it != names.rend(); ++it) {
                const Completion value = vm.GetMember(node->attributes, *it);
                if (value.IsAbrupt()) {
                    return value;
                }
                const auto text = TextOf(vm, value.GetValue());
                if (!text) {
                    return text.Abrupt();
                }
                out += ' ';
                out += (*it)->View();
                out += "=\"";
                out += EscapeXml(*text);
                out += '"';
            }
        }
        if (node->children.empty()) {
            out += " />";
            return Value();
        }
        out += '>';
    } else if (node->isDocument) {
        for (const Value* declaration : {&node->xmlDecl, &node->docTypeDecl}) {
            if (!declaration->IsUndefined()) {
                const auto text = TextOf(vm, *declaration);
                if (!text) {
                    return text.Abrupt();
                }
                out += *text;
            }
        }
    }
    // Copied: a script run by a getter may change the tree.
    const std::vector<XmlNodeObject*> children = node->children;
    for (XmlNodeObject* child : children) {
        const Completion done = AppendMarkup(vm, child, out, path);
        if (done.IsAbrupt()) {
            return done;
        }
    }
    if (named) {
        const auto name = TextOf(vm, node->nodeName);
        if (!name) {
            return name.Abrupt();
        }
        out += "</";
        out += *name;
        out += '>';
    }
    return Value();
}

} // namespace

ScriptResult<std::string> NodeMarkup(Vm& vm, XmlNodeObject* node) {
    std::string out;
    std::vector<const XmlNodeObject*> path;
    const Completion done = AppendMarkup(vm, node, out, path);
    if (done.IsAbrupt()) {
        return done;
    }
    return out;
}

} // namespace swf::script::xml
