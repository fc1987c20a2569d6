// The script heap: every object, string and scope a script can reach lives
// here and is freed by a mark-and-sweep collector, so that cycles (an object
// that refers to itself through its prototype, a closure held by the object
// it is a method of) are freed like everything else.
//
// Collection happens only at safe points chosen by the engine (between action
// blocks, never in the middle of one), so native code may hold cells in local
// variables while it runs. The engine names the roots: the global object,
// the display objects' script objects, the running activations, intervals
// and anything else it keeps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace swf::script {

class Cell;
class Value;

// Collects the cells a cell refers to, during marking.
class Tracer {
public:
    void Visit(const Cell* cell);
    void Visit(const Value& value);

private:
    friend class Heap;
    std::vector<Cell*> pending;
};

class Cell {
public:
    Cell() = default;
    Cell(const Cell&) = delete;
    Cell& operator=(const Cell&) = delete;
    virtual ~Cell() = default;

    // Names every cell this one refers to.
    virtual void Trace(Tracer&) const {}
    // Roughly the bytes this cell holds, for the heap's budget.
    virtual std::size_t Footprint() const { return 64; }

private:
    friend class Heap;
    friend class Tracer;
    bool marked = false;
};

// Something outside the heap that holds cells: it names them when asked.
class RootSource {
public:
    virtual ~RootSource() = default;
    virtual void TraceRoots(Tracer& tracer) const = 0;
};

class Heap {
public:
    Heap() = default;
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;
    ~Heap();

    template <typename T, typename... Args>
    T* Make(Args&&... args) {
        auto cell = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = cell.get();
        bytes += raw->Footprint();
        allocatedSinceCollection += raw->Footprint();
        cells.push_back(std::move(cell));
        return raw;
    }

    // Roots are borrowed; a source removes itself before it goes.
    void AddRoots(const RootSource* source) { roots.push_back(source); }
    void RemoveRoots(const RootSource* source);

    // Hooks that run between marking and sweeping (weak tables drop the
    // cells that were not marked).
    class WeakTable {
    public:
        virtual ~WeakTable() = default;
        virtual void DropUnmarked() = 0;
    };
    void AddWeakTable(WeakTable* table) { weakTables.push_back(table); }
    static bool IsMarked(const Cell* cell) { return cell->marked; }

    // Marks from the roots and frees what was not reached.
    void Collect();

    // Grows the budget when a cell grows after it was made (a string built
    // in place, a property table that gained entries).
    void NoteGrowth(std::size_t extra) {
        bytes += extra;
        allocatedSinceCollection += extra;
    }

    std::size_t Bytes() const { return bytes; }
    std::size_t CellCount() const { return cells.size(); }
    std::size_t AllocatedSinceCollection() const { return allocatedSinceCollection; }

private:
    std::vector<std::unique_ptr<Cell>> cells;
    std::vector<const RootSource*> roots;
    std::vector<WeakTable*> weakTables;
    std::size_t bytes = 0;
    std::size_t allocatedSinceCollection = 0;
};

} // namespace swf::script
