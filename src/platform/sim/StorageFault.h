// A fault of the device's storage for tests of programs that must survive a
// sudden end (a program killed, a battery running flat): from a chosen point
// on, the storage takes no more changes, and what is on it stays as the
// changes before that point left it.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>

namespace sim {

class StorageFault {
public:
    // After the next `changes` changes, every change fails. A change is a
    // file created or truncated by its opening, one byte written, a file
    // deleted, moved or replaced, a folder created.
    void CutOffAfter(std::size_t changes);
    // The storage takes changes again.
    void Reconnect();
    // Whether the cut-off point has been reached.
    bool CutOff() const;

    // How many of wanted changes the storage takes now (all of them while no
    // fault is set), and counts them.
    std::size_t Take(std::size_t wanted);

private:
    mutable std::mutex lock;
    std::optional<std::size_t> changesLeft;
};

} // namespace sim
