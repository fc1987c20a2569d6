// The script heap frees what no root reaches, cycles included, and keeps
// what the global object, a running script or a temporary root holds.
#include <gtest/gtest.h>

#include "swf/script/Vm.h"

namespace swf::script {
namespace {

class QuietHost final : public VmHost {
public:
    void Trace(std::string_view) override {}
    std::uint64_t MovieMilliseconds() override { return 0; }
    double WallClockMilliseconds() override { return 0; }
    int TimeZoneOffsetMinutes(double) override { return 0; }
    void Note(std::string_view) override {}
};

// Objects a and b refer to each other (and a to itself through a closure's
// scope), so that counting references could never free them.
Object* MakeCycle(Vm& vm) {
    Object* a = vm.NewObject();
    Object* b = vm.NewObject();
    vm.DefineOwn(a, "other", Value(b));
    vm.DefineOwn(b, "other", Value(a));
    FunctionObject* f = vm.NewNativeFunction(nullptr);
    f->scope = vm.GetHeap().Make<Scope>(a, nullptr);
    vm.DefineOwn(a, "method", Value(f));
    return a;
}

TEST(Heap, CyclesNoRootReachesAreFreed) {
    QuietHost host;
    Vm vm(host, 7);
    vm.Collect();
    const std::size_t baseline = vm.GetHeap().CellCount();
    for (int i = 0; i < 1000; ++i) {
        MakeCycle(vm);
    }
    EXPECT_GT(vm.GetHeap().CellCount(), baseline + 3000);
    vm.Collect();
    EXPECT_EQ(vm.GetHeap().CellCount(), baseline);
}

TEST(Heap, WhatRootsReachSurvivesAndIsFreedOnceLetGo) {
    QuietHost host;
    Vm vm(host, 7);
    vm.Collect();
    const std::size_t baseline = vm.GetHeap().CellCount();
    Object* kept = MakeCycle(vm);
    vm.DefineOwn(vm.Global(), "kept", Value(kept));
    Object* held = MakeCycle(vm);
    std::size_t both = 0;
    {
        TemporaryRoot root(vm, Value(held));
        vm.Collect();
        both = vm.GetHeap().CellCount();
        const Property* other = kept->Properties().Find(vm.Intern("other"), 7);
        ASSERT_NE(other, nullptr);
        EXPECT_TRUE(other->value.IsObject());
    }
    // The held cycle's two objects, its function and its scope go.
    vm.Collect();
    EXPECT_EQ(vm.GetHeap().CellCount(), both - 4);
    EXPECT_TRUE(vm.DeleteMember(vm.Global(), vm.Intern("kept")));
    vm.Collect();
    EXPECT_EQ(vm.GetHeap().CellCount(), baseline);
}

} // namespace
} // namespace swf::script
