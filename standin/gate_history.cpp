#include "standin/gate_history.h"

#include <algorithm>

namespace ovelsk::aprs {
namespace {

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kFiveMinutesMs = 5 * kMinuteMs;

}  // namespace

std::string_view RecentPackets::key(std::string_view source, std::string_view destination,
                                    std::string_view information) {
    keyBuffer_.assign(source);
    keyBuffer_ += '>';
    keyBuffer_ += destination;
    keyBuffer_ += ':';
    keyBuffer_ += information;
    return keyBuffer_;
}

void RecentPackets::forgetBefore(std::int64_t nowMs) {
    while (!byTime_.empty() && nowMs - byTime_.front().first >= windowMs_) {
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
}

bool RecentPackets::contains(std::string_view source, std::string_view destination, std::string_view information,
                             std::int64_t nowMs) {
    forgetBefore(nowMs);
    const auto found = lastSeen_.find(key(source, destination, information));
    // A clock set back leaves entries "from the future": they still count.
    return found != lastSeen_.end() && nowMs - found->second < windowMs_;
}

bool SendWindow::hasRoom(std::int64_t nowMs) {
    while (!sent_.empty() && nowMs - sent_.front() >= kFiveMinutesMs) sent_.pop_front();
    return inLastMinute(nowMs) < perMinute_ && static_cast<int>(sent_.size()) < perFiveMinutes_;
}

int SendWindow::inLastMinute(std::int64_t nowMs) const {
    return static_cast<int>(
        std::count_if(sent_.rbegin(), sent_.rend(), [nowMs](std::int64_t t) { return nowMs - t < kMinuteMs; }));
}

}  // namespace ovelsk::aprs
