#include "engine/system/dev_probes.h"

#include <functional>
#include <map>
#include <mutex>

namespace qel {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, DevProbes::Probe, std::less<>> probes;
    std::map<std::string, DevProbes::Action, std::less<>> actions;
};

Registry& registry() {
    static Registry r;
    return r;
}

template <class Map>
typename Map::mapped_type find(Map& map, std::string_view name) {
    std::lock_guard lock(registry().mutex);
    const auto it = map.find(name);
    return it == map.end() ? nullptr : it->second;
}

}  // namespace

void DevProbes::setProbe(const std::string& name, Probe probe) {
    std::lock_guard lock(registry().mutex);
    registry().probes[name] = probe;
}

void DevProbes::setAction(const std::string& name, Action action) {
    std::lock_guard lock(registry().mutex);
    registry().actions[name] = action;
}

std::optional<bool> DevProbes::ask(std::string_view name, std::string_view argument) {
    const Probe probe = find(registry().probes, name);
    if (!probe) return std::nullopt;
    return probe(argument);
}

std::optional<bool> DevProbes::run(std::string_view name, std::string_view argument) {
    const Action action = find(registry().actions, name);
    if (!action) return std::nullopt;
    return action(argument);
}

void DevProbes::clear() {
    std::lock_guard lock(registry().mutex);
    registry().probes.clear();
    registry().actions.clear();
}

}  // namespace qel
