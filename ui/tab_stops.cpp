#include "ui/tab_stops.h"

namespace {
const TabStop* Find(std::span<const TabStop> stops, int id) {
    for (const TabStop& stop : stops)
        if (stop.id == id) return &stop;
    return nullptr;
}

bool Reachable(std::span<const TabStop> stops, int id) {
    const TabStop* stop = Find(stops, id);
    return stop && stop->reachable;
}
}  // namespace

std::vector<int> ReachableStops(std::span<const TabStop> stops) {
    std::vector<int> ids;
    for (const TabStop& stop : stops)
        if (stop.reachable) ids.push_back(stop.id);
    return ids;
}

int EnterTarget(std::span<const TabStop> stops, int focused, int defaultCommand) {
    const TabStop* stop = Find(stops, focused);
    if (stop && stop->reachable && stop->command) return focused;
    return Reachable(stops, defaultCommand) ? defaultCommand : 0;
}

int FocusAfterChange(std::span<const TabStop> stops, int focused, int fallback) {
    if (Reachable(stops, focused)) return focused;
    return Reachable(stops, fallback) ? fallback : 0;
}
