#include "platform/sim/ControlRegistry.h"

namespace sim {
namespace {

// Class ids compare without regard to letter case.
std::u16string Folded(const std::u16string& classId) {
    std::u16string folded = classId;
    for (char16_t& c : folded) {
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
    }
    return folded;
}

} // namespace

void ControlRegistry::Register(const std::u16string& classId, HostedControlFactory factory) {
    std::lock_guard guard(lock);
    factories[Folded(classId)] = std::move(factory);
}

void ControlRegistry::Unregister(const std::u16string& classId) {
    std::lock_guard guard(lock);
    factories.erase(Folded(classId));
}

HostedControlFactory ControlRegistry::Find(const std::u16string& classId) const {
    std::lock_guard guard(lock);
    const auto found = factories.find(Folded(classId));
    return found != factories.end() ? found->second : HostedControlFactory{};
}

} // namespace sim
