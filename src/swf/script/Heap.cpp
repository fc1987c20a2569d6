#include "swf/script/Heap.h"

#include <algorithm>

#include "swf/script/Object.h"
#include "swf/script/String.h"
#include "swf/script/Value.h"

namespace swf::script {

void Tracer::Visit(const Cell* cell) {
    if (cell && !cell->marked) {
        Cell* mutableCell = const_cast<Cell*>(cell);
        mutableCell->marked = true;
        pending.push_back(mutableCell);
    }
}

void Tracer::Visit(const Value& value) {
    if (value.IsString()) {
        Visit(static_cast<const Cell*>(value.AsString()));
    } else if (value.IsObject()) {
        Visit(static_cast<const Cell*>(value.AsObject()));
    }
}

Heap::~Heap() {
    // Cells refer to each other freely; none looks at another while it goes.
    cells.clear();
}

void Heap::RemoveRoots(const RootSource* source) {
    std::erase(roots, source);
}

void Heap::Collect() {
    Tracer tracer;
    for (const RootSource* source : roots) {
        source->TraceRoots(tracer);
    }
    while (!tracer.pending.empty()) {
        Cell* cell = tracer.pending.back();
        tracer.pending.pop_back();
        cell->Trace(tracer);
    }
    for (WeakTable* table : weakTables) {
        table->DropUnmarked();
    }
    std::size_t kept = 0;
    std::size_t liveBytes = 0;
    for (auto& cell : cells) {
        if (cell->marked) {
            cell->marked = false;
            liveBytes += cell->Footprint();
            cells[kept++] = std::move(cell);
        }
    }
    cells.resize(kept);
    bytes = liveBytes;
    allocatedSinceCollection = 0;
}

} // namespace swf::script
