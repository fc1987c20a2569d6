// flash.geom.Rectangle: x, y, width and height kept as given, with the
// derived edges and corners as getter and setter properties and the tests
// and combinations of the language reference. The members behave as the
// player's script-defined ones do (left and top are plain, empty members
// of the prototype there, not edges).
#include <algorithm>
#include <limits>

#include "swf/script/geom/GeomClasses.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::geom {

namespace {

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
};

ScriptResult<double> NumberMember(Vm& vm, const Value& base, std::string_view name) {
    const Completion got = Read(vm, base, name);
    if (got.IsAbrupt()) {
        return got;
    }
    return vm.ToNumber(got.GetValue());
}

ScriptResult<Box> ReadBox(Vm& vm, const Value& base) {
    Box box;
    double* fields[] = {&box.x, &box.y, &box.width, &box.height};
    const std::string_view names[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        const auto n = NumberMember(vm, base, names[i]);
        if (!n) {
            return n.Abrupt();
        }
        *fields[i] = *n;
    }
    return box;
}

// Sets members of this in order, stopping at a throw.
Completion WriteAll(Vm& vm, Object* self, std::initializer_list<LabelledNumber> members) {
    if (!self) {
        return Value();
    }
    for (const LabelledNumber& m : members) {
        const Completion set = Write(vm, self, m.name, Value(m.value));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion MakeRectangle(Vm& vm, const Box& box) {
    const Value args[] = {Value(box.x), Value(box.y), Value(box.width), Value(box.height)};
    return ConstructGeom(vm, "Rectangle", args);
}

Completion MakePoint(Vm& vm, Value x, Value y) {
    const Value args[] = {x, y};
    return ConstructGeom(vm, "Point", args);
}

bool IsEmptyBox(const Box& box) {
    return !(box.width > 0) || !(box.height > 0);
}

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    MarkInstance(call);
    const bool none = call.Count() == 0;
    const std::string_view names[] = {"x", "y", "width", "height"};
    for (std::size_t i = 0; i < 4; ++i) {
        const Completion set = Write(call.vm, self, names[i], none ? Value(0) : call.Arg(i));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion ToText(NativeCall& call) {
    return JoinMembers(call.vm, call.thisValue,
                       {{"x", "x"}, {"y", "y"}, {"w", "width"}, {"h", "height"}});
}

// x + width, as the + operator of the running code adds them.
Completion Right(NativeCall& call) {
    const Completion x = Read(call.vm, call.thisValue, "x");
    if (x.IsAbrupt()) {
        return x;
    }
    const Completion width = Read(call.vm, call.thisValue, "width");
    if (width.IsAbrupt()) {
        return width;
    }
    const auto sum = call.vm.Add(x.GetValue(), width.GetValue());
    return sum ? Completion(*sum) : sum.Abrupt();
}

// y + height as numbers, a missing one counting as NaN in every version.
ScriptResult<double> BottomOf(Vm& vm, const Value& self) {
    double sum = 0;
    for (std::string_view name : {"y", "height"}) {
        const Completion got = Read(vm, self, name);
        if (got.IsAbrupt()) {
            return got;
        }
        if (got.GetValue().IsUndefined()) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        const auto n = vm.ToNumber(got.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        sum += *n;
    }
    return sum;
}

Completion Bottom(NativeCall& call) {
    const auto bottom = BottomOf(call.vm, call.thisValue);
    return bottom ? Completion(Value(*bottom)) : bottom.Abrupt();
}

Completion SetRight(NativeCall& call) {
    const auto x = NumberMember(call.vm, call.thisValue, "x");
    const auto right = x ? call.vm.ToNumber(call.Arg(0)) : x;
    if (!right) {
        return right.Abrupt();
    }
    return WriteAll(call.vm, call.ThisObject(), {{"width", *right - *x}});
}

Completion SetBottom(NativeCall& call) {
    const auto y = NumberMember(call.vm, call.thisValue, "y");
    const auto bottom = y ? call.vm.ToNumber(call.Arg(0)) : y;
    if (!bottom) {
        return bottom.Abrupt();
    }
    return WriteAll(call.vm, call.ThisObject(), {{"height", *bottom - *y}});
}

Completion TopLeft(NativeCall& call) {
    const Completion x = Read(call.vm, call.thisValue, "x");
    if (x.IsAbrupt()) {
        return x;
    }
    const Completion y = Read(call.vm, call.thisValue, "y");
    if (y.IsAbrupt()) {
        return y;
    }
    return MakePoint(call.vm, x.GetValue(), y.GetValue());
}

Completion Size(NativeCall& call) {
    const Completion width = Read(call.vm, call.thisValue, "width");
    if (width.IsAbrupt()) {
        return width;
    }
    const Completion height = Read(call.vm, call.thisValue, "height");
    if (height.IsAbrupt()) {
        return height;
    }
    return MakePoint(call.vm, width.GetValue(), height.GetValue());
}

Completion BottomRight(NativeCall& call) {
    const Completion right = Right(call);
    if (right.IsAbrupt()) {
        return right;
    }
    const auto bottom = BottomOf(call.vm, call.thisValue);
    if (!bottom) {
        return bottom.Abrupt();
    }
    return MakePoint(call.vm, right.GetValue(), Value(*bottom));
}

ScriptResult<double> PointX(Vm& vm, const Value& p) {
    return NumberMember(vm, p, "x");
}
ScriptResult<double> PointY(Vm& vm, const Value& p) {
    return NumberMember(vm, p, "y");
}

// Copies the point's x and y, as they are, to two members of this.
Completion CopyPoint(NativeCall& call, std::string_view first, std::string_view second) {
    Object* self = call.ThisObject();
    const Completion x = Read(call.vm, call.Arg(0), "x");
    if (x.IsAbrupt() || !self) {
        return x.IsAbrupt() ? x : Value();
    }
    const Completion y = Read(call.vm, call.Arg(0), "y");
    if (y.IsAbrupt()) {
        return y;
    }
    const Completion set = Write(call.vm, self, first, x.GetValue());
    return set.IsAbrupt() ? set : Write(call.vm, self, second, y.GetValue());
}

Completion SetTopLeft(NativeCall& call) {
    return CopyPoint(call, "x", "y");
}

Completion SetBottomRight(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto x = box ? PointX(call.vm, call.Arg(0)) : box.Abrupt();
    const auto y = x ? PointY(call.vm, call.Arg(0)) : x;
    if (!y) {
        return y.Abrupt();
    }
    return WriteAll(call.vm, call.ThisObject(), {{"width", *x - box->x}, {"height", *y - box->y}});
}

Completion SetSize(NativeCall& call) {
    return CopyPoint(call, "width", "height");
}

Completion Clone(NativeCall& call) {
    Value args[4];
    const std::string_view names[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        const Completion got = Read(call.vm, call.thisValue, names[i]);
        if (got.IsAbrupt()) {
            return got;
        }
        args[i] = got.GetValue();
    }
    return ConstructGeom(call.vm, "Rectangle", args);
}

bool BoxContains(const Box& box, double x, double y) {
    return x >= box.x && x < box.x + box.width && y >= box.y && y < box.y + box.height;
}

Completion Contains(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto x = box ? call.vm.ToNumber(call.Arg(0)) : box.Abrupt();
    const auto y = x ? call.vm.ToNumber(call.Arg(1)) : x;
    if (!y) {
        return y.Abrupt();
    }
    return Value(BoxContains(*box, *x, *y));
}

Completion ContainsPoint(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto x = box ? PointX(call.vm, call.Arg(0)) : box.Abrupt();
    const auto y = x ? PointY(call.vm, call.Arg(0)) : x;
    if (!y) {
        return y.Abrupt();
    }
    return Value(BoxContains(*box, *x, *y));
}

Completion ContainsRectangle(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto other = box ? ReadBox(call.vm, call.Arg(0)) : box.Abrupt();
    if (!other) {
        return other.Abrupt();
    }
    return Value(other->x >= box->x && other->y >= box->y &&
                 other->x + other->width <= box->x + box->width &&
                 other->y + other->height <= box->y + box->height);
}

Completion Equals(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion rectangleClass = Read(vm, Value(FindPackage(vm, "geom")), "Rectangle");
    if (rectangleClass.IsAbrupt()) {
        return rectangleClass;
    }
    Object* constructor = rectangleClass.GetValue().ObjectOrNull();
    if (!constructor || !vm.InstanceOf(call.Arg(0), constructor)) {
        return Value(false);
    }
    for (std::string_view name : {"x", "y", "width", "height"}) {
        const Completion mine = Read(vm, call.thisValue, name);
        if (mine.IsAbrupt()) {
            return mine;
        }
        const Completion theirs = Read(vm, call.Arg(0), name);
        if (theirs.IsAbrupt()) {
            return theirs;
        }
        const auto same = vm.LooseEquals(mine.GetValue(), theirs.GetValue());
        if (!same) {
            return same.Abrupt();
        }
        if (!*same) {
            return Value(false);
        }
    }
    return Value(true);
}

Completion InflateBy(NativeCall& call, double dx, double dy) {
    const auto box = ReadBox(call.vm, call.thisValue);
    if (!box) {
        return box.Abrupt();
    }
    return WriteAll(call.vm, call.ThisObject(),
                    {{"x", box->x - dx},
                     {"width", box->width + 2 * dx},
                     {"y", box->y - dy},
                     {"height", box->height + 2 * dy}});
}

Completion OffsetBy(NativeCall& call, double dx, double dy) {
    const auto box = ReadBox(call.vm, call.thisValue);
    if (!box) {
        return box.Abrupt();
    }
    return WriteAll(call.vm, call.ThisObject(), {{"x", box->x + dx}, {"y", box->y + dy}});
}

template <Completion (*apply)(NativeCall&, double, double)>
Completion ByNumbers(NativeCall& call) {
    const auto dx = call.vm.ToNumber(call.Arg(0));
    const auto dy = dx ? call.vm.ToNumber(call.Arg(1)) : dx;
    if (!dy) {
        return dy.Abrupt();
    }
    return apply(call, *dx, *dy);
}

template <Completion (*apply)(NativeCall&, double, double)>
Completion ByPoint(NativeCall& call) {
    const auto dx = PointX(call.vm, call.Arg(0));
    const auto dy = dx ? PointY(call.vm, call.Arg(0)) : dx;
    if (!dy) {
        return dy.Abrupt();
    }
    return apply(call, *dx, *dy);
}

Completion Intersection(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto other = box ? ReadBox(call.vm, call.Arg(0)) : box.Abrupt();
    if (!other) {
        return other.Abrupt();
    }
    Box overlap;
    overlap.x = std::max(box->x, other->x);
    overlap.y = std::max(box->y, other->y);
    overlap.width = std::min(box->x + box->width, other->x + other->width) - overlap.x;
    overlap.height = std::min(box->y + box->height, other->y + other->height) - overlap.y;
    if (IsEmptyBox(overlap)) {
        overlap = Box();
    }
    return MakeRectangle(call.vm, overlap);
}

Completion Intersects(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto other = box ? ReadBox(call.vm, call.Arg(0)) : box.Abrupt();
    if (!other) {
        return other.Abrupt();
    }
    const double width =
        std::min(box->x + box->width, other->x + other->width) - std::max(box->x, other->x);
    const double height =
        std::min(box->y + box->height, other->y + other->height) - std::max(box->y, other->y);
    return Value(width > 0 && height > 0);
}

Completion IsEmpty(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    if (!box) {
        return box.Abrupt();
    }
    return Value(IsEmptyBox(*box));
}

Completion SetEmpty(NativeCall& call) {
    return WriteAll(call.vm, call.ThisObject(), {{"x", 0}, {"y", 0}, {"width", 0}, {"height", 0}});
}

Completion Union(NativeCall& call) {
    const auto box = ReadBox(call.vm, call.thisValue);
    const auto other = box ? ReadBox(call.vm, call.Arg(0)) : box.Abrupt();
    if (!other) {
        return other.Abrupt();
    }
    if (IsEmptyBox(*box)) {
        return MakeRectangle(call.vm, *other);
    }
    if (IsEmptyBox(*other)) {
        return MakeRectangle(call.vm, *box);
    }
    Box both;
    both.x = std::min(box->x, other->x);
    both.y = std::min(box->y, other->y);
    both.width = std::max(box->x + box->width, other->x + other->width) - both.x;
    both.height = std::max(box->y + box->height, other->y + other->height) - both.y;
    return MakeRectangle(call.vm, both);
}

constexpr ScriptMethod prototypeMethods[] = {
    {"clone", Clone},
    {"contains", Contains},
    {"containsPoint", ContainsPoint},
    {"containsRectangle", ContainsRectangle},
    {"equals", Equals},
    {"inflate", ByNumbers<InflateBy>},
    {"inflatePoint", ByPoint<InflateBy>},
    {"intersection", Intersection},
    {"intersects", Intersects},
    {"isEmpty", IsEmpty},
    {"offset", ByNumbers<OffsetBy>},
    {"offsetPoint", ByPoint<OffsetBy>},
    {"setEmpty", SetEmpty},
    {"toString", ToText},
    {"union", Union},
};

struct Edge {
    std::string_view name;
    NativeFunction getter;
    NativeFunction setter;
};
constexpr Edge edges[] = {
    {"bottom", Bottom, SetBottom},    {"bottomRight", BottomRight, SetBottomRight},
    {"right", Right, SetRight},       {"size", Size, SetSize},
    {"topLeft", TopLeft, SetTopLeft},
};

} // namespace

void InstallRectangle(Vm& vm) {
    const builtins::ClassParts parts =
        MakeScriptLikeClass(vm, Package(vm, "geom"), "Rectangle", Construct);
    AddScriptMethods(vm, parts.prototype, prototypeMethods);
    for (const Edge& e : edges) {
        AddAccessor(vm, parts.prototype, e.name, e.getter, e.setter);
    }
    vm.DefineOwn(parts.prototype, "left", Value());
    vm.DefineOwn(parts.prototype, "top", Value());
}

} // namespace swf::script::geom
