#include "gateway/gate_history.h"

#include <algorithm>

namespace ovelsk::gateway {
namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kFiveMinutesMs = 5 * kMinuteMs;

// Whether a time noted at `thenMs` lies within `windowMs` of `nowMs`. A clock
// set back a little leaves times "from the future" that still count; one set
// back further than the window leaves times of unknown age, forgotten, or a
// station's unchanged beacon would be held back until the clock caught up.
bool within(std::int64_t nowMs, std::int64_t thenMs, std::int64_t windowMs) {
    const std::int64_t age = nowMs - thenMs;
    return age < windowMs && age > -windowMs;
}

}  // namespace

std::string_view RecentPackets::key(std::string_view source, std::string_view destination,
                                    std::string_view information) {
    while (!information.empty() && std::string_view(" \r\n").find(information.back()) != std::string_view::npos)
        information.remove_suffix(1);
    keyBuffer_.assign(source);
    keyBuffer_ += '>';
    keyBuffer_ += destination;
    keyBuffer_ += ':';
    keyBuffer_ += information;
    return keyBuffer_;
}

void RecentPackets::forgetBefore(std::int64_t nowMs) {
    while (!byTime_.empty() && (!within(nowMs, byTime_.front().first, windowMs_) || byTime_.size() > maxEntries_)) {
        const auto found = lastSeen_.find(byTime_.front().second);
        if (found != lastSeen_.end() && found->second == byTime_.front().first) lastSeen_.erase(found);
        byTime_.pop_front();
    }
}

void RecentPackets::add(std::string_view source, std::string_view destination, std::string_view information,
                        std::int64_t nowMs) {
    forgetBefore(nowMs);
    const std::string_view k = key(source, destination, information);
    const auto found = lastSeen_.find(k);
    if (found != lastSeen_.end()) {
        found->second = nowMs;
    } else {
        lastSeen_.emplace(std::string(k), nowMs);
    }
    byTime_.emplace_back(nowMs, std::string(k));
    if (byTime_.size() > maxEntries_) forgetBefore(nowMs);
}

bool RecentPackets::contains(std::string_view source, std::string_view destination, std::string_view information,
                             std::int64_t nowMs) {
    return addedSince(source, destination, information, INT64_MIN, nowMs);
}

bool RecentPackets::addedSince(std::string_view source, std::string_view destination, std::string_view information,
                               std::int64_t sinceMs, std::int64_t nowMs) {
    forgetBefore(nowMs);
    const auto found = lastSeen_.find(key(source, destination, information));
    return found != lastSeen_.end() && within(nowMs, found->second, windowMs_) && found->second >= sinceMs;
}

bool SendWindow::hasRoom(std::int64_t nowMs) {
    while (!sent_.empty() && !within(nowMs, sent_.front(), kFiveMinutesMs)) sent_.pop_front();
    return inLastMinute(nowMs) < perMinute_ && static_cast<int>(sent_.size()) < perFiveMinutes_;
}

int SendWindow::inLastMinute(std::int64_t nowMs) const {
    return static_cast<int>(
        std::count_if(sent_.rbegin(), sent_.rend(), [nowMs](std::int64_t t) { return within(nowMs, t, kMinuteMs); }));
}

}  // namespace ovelsk::gateway
