#include "gateway/heard_stations.h"

#include <algorithm>

namespace ovelsk::gateway {
namespace {

// A message's addressee field is nine characters: a longer callsign is never
// one, so it is not worth a place in the tables.
constexpr std::size_t kLongestAddressee = 9;

// When a station in each table was last heard there.
constexpr auto lastOnRadio = [](const auto& station) { return station.radioMs; };
constexpr auto lastOnInternet = [](const auto& station) { return station.internetMs; };

// The station at the front of `order`, which `table` holds, if it was not heard
// again since it was queued; one that was goes to the back with its new time.
template <typename Order, typename Table, typename LastHeard>
auto unlessHeardSinceQueued(Order& order, Table& table, LastHeard lastHeard) -> std::optional<typename Table::iterator> {
    const auto station = table.find(order.front().callsign);
    const std::int64_t heardMs = lastHeard(*station);
    if (heardMs == order.front().heardMs) return station;
    order.push_back({order.front().callsign, heardMs});
    order.pop_front();
    return std::nullopt;
}

}  // namespace

HeardStations::HeardStations(std::int64_t windowMs, int nearHops, std::size_t mostOnRadio, std::size_t mostOnInternet)
    : windowMs_(windowMs), nearHops_(nearHops), mostOnRadio_(mostOnRadio), mostOnInternet_(mostOnInternet) {}

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

// Only a front queued longer than the window ago is looked up: the queue is
// nearly in the order heard, and a station's last hearing is never before its
// queueing, so behind a recent front the rest wait at most a window longer.
void HeardStations::forgetOld(std::int64_t nowMs) {
    while (!radioOrder_.empty() && !recent(radioOrder_.front().heardMs, nowMs)) {
        if (const auto station = unlessHeardSinceQueued(radioOrder_, onRadio_, lastOnRadio)) {
            onRadio_.erase(*station);
            radioOrder_.pop_front();
        }
    }
    while (!internetOrder_.empty() && !recent(internetOrder_.front().heardMs, nowMs)) {
        if (const auto station = unlessHeardSinceQueued(internetOrder_, onInternet_, lastOnInternet)) {
            onInternet_.erase(*station);
            internetOrder_.pop_front();
        }
    }
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
        if (const auto oldest = unlessHeardSinceQueued(radioOrder_, onRadio_, lastOnRadio)) {
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
    if (const auto internet = onInternet_.constFind(*name); internet != onInternet_.cend())
        station.internetMs = internet->internetMs;
    onRadio_.insert(*name, station);
    radioOrder_.push_back({*name, nowMs});
    return forgotten;
}

void HeardStations::heardOnInternet(std::string_view callsign, std::int64_t nowMs) {
    forgetOld(nowMs);
    const auto name = key(callsign);
    if (!name) return;
    if (const auto radio = onRadio_.find(*name); radio != onRadio_.end()) radio->internetMs = nowMs;
    // One look-up finds the station or makes its place.
    std::int64_t& heardMs = onInternet_[*name].internetMs;
    const bool known = heardMs != kNever;
    heardMs = nowMs;
    if (known) return;
    internetOrder_.push_back({*name, nowMs});
    // The newest is at the back, so the front is never the one just added.
    while (internetOrder_.size() > mostOnInternet_) {
        if (const auto oldest = unlessHeardSinceQueued(internetOrder_, onInternet_, lastOnInternet)) {
            internetForgottenMs_ = std::max(internetForgottenMs_, (*oldest)->internetMs);
            ++forgottenOnInternet_;
            onInternet_.erase(*oldest);
            internetOrder_.pop_front();
        }
    }
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
    const auto internet = onInternet_.constFind(*name);
    return internet != onInternet_.cend() && recent(internet->internetMs, nowMs);
}

std::optional<UnknownWhere> HeardStations::whereUnknown(std::string_view callsign, std::int64_t nowMs) const {
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
    return {static_cast<std::size_t>(onRadio_.size()), static_cast<std::size_t>(onInternet_.size()), forgottenOnRadio_,
            forgottenOnInternet_};
}

}  // namespace ovelsk::gateway
