#include "swf/script/ArrayObject.h"

#include <charconv>

#include "swf/script/Vm.h"

namespace swf::script {

std::optional<std::size_t> ArrayIndex(std::string_view name) {
    if (name.empty() || name.size() > 10 || (name.size() > 1 && name[0] == '0')) {
        return std::nullopt;
    }
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
    if (error != std::errc() || end != name.data() + name.size() || value >= 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return value;
}

void ArrayObject::StoreLength(Vm& vm) {
    Property* p = Properties().Find(vm.N().length, 7);
    if (!p) {
        Properties().Add(vm.N().length, Value(double(length)),
                         PropertyFlag::DontEnum | PropertyFlag::DontDelete);
    } else {
        p->value = Value(double(length));
    }
}

void ArrayObject::SetLength(Vm& vm, std::size_t value) {
    if (value < length) {
        std::vector<String*> doomed;
        Properties().ForEach([&](const Property& p) {
            const auto index = ArrayIndex(p.name->View());
            if (index && *index >= value) {
                doomed.push_back(p.name);
            }
        });
        for (String* name : doomed) {
            if (Property* p = Properties().Find(name, 7)) {
                Properties().Remove(p);
            }
        }
    }
    length = value;
    StoreLength(vm);
}

Value ArrayObject::Element(Vm& vm, std::size_t i) {
    const Property* p = Properties().Find(vm.IndexName(i), 7);
    return p && !p->IsAccessor() ? p->value : Value();
}

void ArrayObject::SetElement(Vm& vm, std::size_t i, const Value& value) {
    String* name = vm.IndexName(i);
    if (Property* p = Properties().Find(name, 7)) {
        p->value = value;
    } else {
        Properties().Add(name, value, 0);
    }
    if (i >= length) {
        length = i + 1;
        StoreLength(vm);
    }
}

std::vector<Value> ArrayObject::Elements(Vm& vm) {
    std::vector<Value> out;
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(Element(vm, i));
    }
    return out;
}

void ArrayObject::Assign(Vm& vm, const std::vector<Value>& values) {
    SetLength(vm, 0);
    for (std::size_t i = 0; i < values.size(); ++i) {
        SetElement(vm, i, values[i]);
    }
    SetLength(vm, values.size());
}

void ArrayObject::OwnPropertySet(Vm& vm, String* name, const Value& value) {
    if (name == vm.N().length || name->Folded() == vm.N().length) {
        const double n = vm.PrimitiveToNumber(value);
        if (n >= 0 && n < 4294967295.0) {
            const std::size_t wanted = static_cast<std::size_t>(n);
            if (wanted < length) {
                SetLength(vm, wanted);
                // The script's own value stays, as Flash keeps it.
                if (Property* p = Properties().Find(vm.N().length, 7)) {
                    p->value = value;
                }
            } else {
                length = wanted;
            }
        }
        return;
    }
    const auto index = ArrayIndex(name->View());
    if (index && *index >= length) {
        length = *index + 1;
        StoreLength(vm);
    }
}

} // namespace swf::script
