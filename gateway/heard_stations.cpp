#include "gateway/heard_stations.h"

#include <algorithm>

namespace ovelsk::gateway {
namespace {

// A message's addressee field is nine characters: a longer callsign is never
// one, so it is not worth a place in the tables.
constexpr std::size_t kLongestAddressee = 9;

}  // namespace

HeardStations::HeardStations(std::int64_t windowMs, int nearHops, std::size_t mostOnRadio, std::size_t mostOnInternet)
    : windowMs_(windowMs), nearHops_(nearHops), mostOnRadio_(mostOnRadio), mostOnInternet_(mostOnInternet) {
    // Room for a whole half at once (a few hundred kilobytes of slots), so a
    // flood never waits while the table grows step by step.
    if (windowMs_ > 0) newerOnInternet_.stations.reserve(static_cast<qsizetype>(mostOnInternet_ / 2));
}

bool HeardStations::recent(std::int64_t thenMs, std::int64_t nowMs) const {
    // A clock set back further than the window leaves times of unknown age.
    const std::int64_t age = nowMs - thenMs;
    return age < windowMs_ && age > -windowMs_;
}

std::optional<HeardStations::Callsign> HeardStations::key(std::string_view callsign) {
    if (callsign.size() > kLongestAddressee) return std::nullopt;
    Callsign key;
    key.size = static_cast<std::uint8_t>(callsign.size());
    std::transform(callsign.begin(), callsign.end(), key.text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return key;
}

std::optional<QHash<HeardStations::Callsign, HeardStations::OnRadio>::iterator>
HeardStations::radioFrontUnlessHeardSinceQueued() {
    const Queued front = radioOrder_.front();
    const auto station = onRadio_.find(front.callsign);
    if (station->radioMs == front.heardMs) return station;
    radioOrder_.pop_front();
    radioOrder_.push_back({front.callsign, station->radioMs});
    return std::nullopt;
}

// Only a radio station queued longer than the window ago is looked up: the
// queue is nearly in the order heard, and a station's last hearing is never
// before its queueing, so behind a recent front the rest wait at most a window
// longer.
void HeardStations::forgetOld(std::int64_t nowMs) {
    while (!radioOrder_.empty() && !recent(radioOrder_.front().heardMs, nowMs)) {
        if (const auto station = radioFrontUnlessHeardSinceQueued()) {
            onRadio_.erase(*station);
            radioOrder_.pop_front();
        }
    }
    // Every station in the older half was last heard before the newer began.
    if (!newerOnInternet_.stations.isEmpty() && !recent(newerOnInternet_.firstMs, nowMs)) startNewerOnInternet(nowMs);
    if (!olderOnInternet_.stations.isEmpty() && !recent(olderOnInternet_.newestMs, nowMs)) olderOnInternet_ = {};
}

void HeardStations::startNewerOnInternet(std::int64_t nowMs) {
    if (recent(olderOnInternet_.newestMs, nowMs)) {
        internetForgottenMs_ = std::max(internetForgottenMs_, olderOnInternet_.newestMs);
        forgottenOnInternet_ += static_cast<std::uint64_t>(olderOnInternet_.stations.size());
    }
    olderOnInternet_ = std::move(newerOnInternet_);
    newerOnInternet_ = InternetHalf{};
    newerOnInternet_.stations.reserve(static_cast<qsizetype>(mostOnInternet_ / 2));
}

const HeardStations::OnInternet* HeardStations::findOnInternet(const Callsign& callsign) const {
    for (const InternetHalf* half : {&newerOnInternet_, &olderOnInternet_}) {
        if (const auto found = half->stations.constFind(callsign); found != half->stations.cend()) return &*found;
    }
    return nullptr;
}

std::optional<ForgottenStation> HeardStations::heardOnRadio(std::string_view callsign, int hops, std::int64_t nowMs) {
    forgetOld(nowMs);
    const auto name = key(callsign);
    if (!name) return std::nullopt;
    const bool near = hops <= nearHops_;
    if (const auto known = onRadio_.find(*name); known != onRadio_.end()) {
        known->radioMs = nowMs;
        if (near) known->nearMs = nowMs;
        return std::nullopt;
    }
    std::optional<ForgottenStation> forgotten;
    while (!radioOrder_.empty() && radioOrder_.size() >= mostOnRadio_) {
        if (const auto oldest = radioFrontUnlessHeardSinceQueued()) {
            forgotten = ForgottenStation{std::string(radioOrder_.front().callsign.view()), (*oldest)->radioMs};
            radioForgottenMs_ = std::max(radioForgottenMs_, (*oldest)->radioMs);
            ++forgottenOnRadio_;
            onRadio_.erase(*oldest);
            radioOrder_.pop_front();
        }
    }
    OnRadio station{nowMs};
    if (near) station.nearMs = nowMs;
    station.internetForgottenMs = internetForgottenMs_;
    if (const OnInternet* internet = findOnInternet(*name)) station.internetMs = internet->internetMs;
    onRadio_.insert(*name, station);
    radioOrder_.push_back({*name, nowMs});
    return forgotten;
}

void HeardStations::heardOnInternet(std::string_view callsign, std::int64_t nowMs) {
    forgetOld(nowMs);
    const auto name = key(callsign);
    if (!name) return;
    if (const auto radio = onRadio_.find(*name); radio != onRadio_.end()) radio->internetMs = nowMs;
    // One look-up finds the station in the newer half or makes its place there.
    InternetHalf& newer = newerOnInternet_;
    OnInternet& station = newer.stations[*name];
    if (station.internetMs == kNever) {
        olderOnInternet_.stations.remove(*name);
        if (newer.stations.size() == 1) newer.firstMs = nowMs;
    }
    station.internetMs = nowMs;
    newer.newestMs = std::max(newer.newestMs, nowMs);
    if (static_cast<std::size_t>(newer.stations.size()) * 2 >= mostOnInternet_) startNewerOnInternet(nowMs);
}

bool HeardStations::onRadio(std::string_view callsign, std::int64_t nowMs) const {
    const auto name = key(callsign);
    const auto station = name ? onRadio_.constFind(*name) : onRadio_.cend();
    return station != onRadio_.cend() && recent(station->radioMs, nowMs);
}

bool HeardStations::nearOnRadio(std::string_view callsign, std::int64_t nowMs) const {
    const auto name = key(callsign);
    const auto station = name ? onRadio_.constFind(*name) : onRadio_.cend();
    return station != onRadio_.cend() && recent(station->nearMs, nowMs);
}

bool HeardStations::onInternet(std::string_view callsign, std::int64_t nowMs) const {
    const auto name = key(callsign);
    if (!name) return false;
    if (const auto radio = onRadio_.constFind(*name); radio != onRadio_.cend() && recent(radio->internetMs, nowMs))
        return true;
    const OnInternet* internet = findOnInternet(*name);
    return internet && recent(internet->internetMs, nowMs);
}

std::optional<UnknownWhere> HeardStations::whereUnknown(std::string_view callsign, std::int64_t nowMs) const {
    // The usual case, and the one every message asks about: nothing forgotten lately.
    if (!recent(radioForgottenMs_, nowMs) && !recent(internetForgottenMs_, nowMs)) return std::nullopt;
    const auto name = key(callsign);
    const auto station = name ? onRadio_.constFind(*name) : onRadio_.cend();
    if (station == onRadio_.cend() || !recent(station->radioMs, nowMs)) {
        if (recent(radioForgottenMs_, nowMs)) return UnknownWhere::OnRadio;
        return std::nullopt;
    }
    if (!onInternet(callsign, nowMs) && recent(station->internetForgottenMs, nowMs)) return UnknownWhere::OnInternet;
    return std::nullopt;
}

HeardStationsTally HeardStations::tally() const {
    return {static_cast<std::size_t>(onRadio_.size()),
            static_cast<std::size_t>(newerOnInternet_.stations.size() + olderOnInternet_.stations.size()),
            forgottenOnRadio_, forgottenOnInternet_};
}

std::size_t HeardStations::messageReachable(std::int64_t nowMs) const {
    // Only stations heard on radio can be reached, so the count walks that
    // table alone, bounded by what one channel carries.
    std::size_t reachable = 0;
    for (auto station = onRadio_.cbegin(); station != onRadio_.cend(); ++station)
        if (recent(station->nearMs, nowMs) && !onInternet(station.key().view(), nowMs)) ++reachable;
    return reachable;
}

}  // namespace ovelsk::gateway
