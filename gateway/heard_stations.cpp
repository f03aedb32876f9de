#include "gateway/heard_stations.h"

#include <algorithm>
#include <cctype>

namespace ovelsk::gateway {
namespace {

// Old entries are swept out at most this often, and whenever the table is full.
constexpr std::int64_t kSweepIntervalMs = 60'000;

}  // namespace

HeardStations::HeardStations(std::int64_t windowMs, int nearHops, std::size_t maxStations)
    : windowMs_(windowMs), nearHops_(nearHops), maxStations_(maxStations) {}

bool HeardStations::recent(std::int64_t thenMs, std::int64_t nowMs) const {
    // A clock set back further than the window leaves times of unknown age.
    const std::int64_t age = nowMs - thenMs;
    return age < windowMs_ && age > -windowMs_;
}

const std::string& HeardStations::key(std::string_view callsign) const {
    keyBuffer_.assign(callsign);
    for (char& c : keyBuffer_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return keyBuffer_;
}

const HeardStations::Heard* HeardStations::find(std::string_view callsign) const {
    const auto found = stations_.find(key(callsign));
    return found == stations_.end() ? nullptr : &found->second;
}

HeardStations::Heard* HeardStations::entry(std::string_view callsign, std::int64_t nowMs) {
    if (nowMs - lastSweepMs_ >= kSweepIntervalMs || nowMs < lastSweepMs_) forgetOld(nowMs);
    if (const auto known = stations_.find(key(callsign)); known != stations_.end()) return &known->second;
    if (stations_.size() >= maxStations_) {
        forgetOld(nowMs);
        if (stations_.size() >= maxStations_) return nullptr;
    }
    return &stations_[keyBuffer_];
}

void HeardStations::forgetOld(std::int64_t nowMs) {
    lastSweepMs_ = nowMs;
    std::erase_if(stations_, [&](const auto& station) {
        const Heard& heard = station.second;
        return !recent(heard.radioMs, nowMs) && !recent(heard.internetMs, nowMs);
    });
}

void HeardStations::heardOnRadio(std::string_view callsign, int hops, std::int64_t nowMs) {
    Heard* heard = entry(callsign, nowMs);
    if (!heard) return;
    heard->radioMs = nowMs;
    if (hops <= nearHops_) heard->nearMs = nowMs;
}

void HeardStations::heardOnInternet(std::string_view callsign, std::int64_t nowMs) {
    if (Heard* heard = entry(callsign, nowMs)) heard->internetMs = nowMs;
}

bool HeardStations::onRadio(std::string_view callsign, std::int64_t nowMs) const {
    const Heard* heard = find(callsign);
    return heard && recent(heard->radioMs, nowMs);
}

bool HeardStations::nearOnRadio(std::string_view callsign, std::int64_t nowMs) const {
    const Heard* heard = find(callsign);
    return heard && recent(heard->nearMs, nowMs);
}

bool HeardStations::onInternet(std::string_view callsign, std::int64_t nowMs) const {
    const Heard* heard = find(callsign);
    return heard && recent(heard->internetMs, nowMs);
}

std::size_t HeardStations::messageReachable(std::int64_t nowMs) const {
    return static_cast<std::size_t>(std::count_if(stations_.begin(), stations_.end(), [&](const auto& station) {
        return recent(station.second.nearMs, nowMs) && !recent(station.second.internetMs, nowMs);
    }));
}

}  // namespace ovelsk::gateway
