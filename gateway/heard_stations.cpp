#include "gateway/heard_stations.h"

#include <algorithm>
#include <cctype>

namespace ovelsk::gateway {
namespace {

// A message's addressee field is nine characters: a longer callsign is never
// one, so it is not worth a place in the tables.
constexpr std::size_t kLongestAddressee = 9;

}  // namespace

HeardStations::HeardStations(std::int64_t windowMs, int nearHops, std::size_t mostOnRadio, std::size_t mostOnInternet)
    : windowMs_(windowMs), nearHops_(nearHops), mostOnRadio_(mostOnRadio), mostOnInternet_(mostOnInternet) {}

bool HeardStations::recent(std::int64_t thenMs, std::int64_t nowMs) const {
    // A clock set back further than the window leaves times of unknown age.
    const std::int64_t age = nowMs - thenMs;
    return age < windowMs_ && age > -windowMs_;
}

const std::string* HeardStations::key(std::string_view callsign) const {
    if (callsign.size() > kLongestAddressee) return nullptr;
    keyBuffer_.assign(callsign);
    for (char& c : keyBuffer_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return &keyBuffer_;
}

const HeardStations::OnRadio* HeardStations::findOnRadio(std::string_view callsign) const {
    const std::string* name = key(callsign);
    if (!name) return nullptr;
    const auto found = onRadio_.find(*name);
    return found == onRadio_.end() ? nullptr : &*found;
}

// Both tables are in the order last heard, so only their fronts are looked at.
void HeardStations::forgetOld(std::int64_t nowMs) {
    auto& radio = onRadio_.get<1>();
    while (!radio.empty() && !recent(radio.front().radioMs, nowMs)) radio.pop_front();
    auto& internet = onInternet_.get<1>();
    while (!internet.empty() && !recent(internet.front().internetMs, nowMs)) internet.pop_front();
}

std::optional<ForgottenStation> HeardStations::heardOnRadio(std::string_view callsign, int hops, std::int64_t nowMs) {
    forgetOld(nowMs);
    const std::string* name = key(callsign);
    if (!name) return std::nullopt;
    std::optional<ForgottenStation> forgotten;
    auto& order = onRadio_.get<1>();
    auto found = onRadio_.find(*name);
    if (found != onRadio_.end()) {
        onRadio_.modify(found, [nowMs](OnRadio& station) { station.radioMs = nowMs; });
        order.relocate(order.end(), onRadio_.project<1>(found));
    } else {
        OnRadio station{*name, nowMs};
        station.internetForgottenMs = internetForgottenMs_;
        if (const auto internet = onInternet_.find(*name); internet != onInternet_.end())
            station.internetMs = internet->internetMs;
        if (onRadio_.size() >= mostOnRadio_ && !order.empty()) {
            forgotten = ForgottenStation{order.front().callsign, order.front().radioMs};
            radioForgottenMs_ = std::max(radioForgottenMs_, order.front().radioMs);
            ++forgottenOnRadio_;
            order.pop_front();
        }
        found = onRadio_.insert(std::move(station)).first;
    }
    if (hops <= nearHops_) onRadio_.modify(found, [nowMs](OnRadio& station) { station.nearMs = nowMs; });
    return forgotten;
}

void HeardStations::heardOnInternet(std::string_view callsign, std::int64_t nowMs) {
    forgetOld(nowMs);
    const std::string* name = key(callsign);
    if (!name) return;
    if (const auto radio = onRadio_.find(*name); radio != onRadio_.end())
        onRadio_.modify(radio, [nowMs](OnRadio& station) { station.internetMs = nowMs; });
    auto& order = onInternet_.get<1>();
    if (const auto found = onInternet_.find(*name); found != onInternet_.end()) {
        onInternet_.modify(found, [nowMs](OnInternet& station) { station.internetMs = nowMs; });
        order.relocate(order.end(), onInternet_.project<1>(found));
        return;
    }
    if (onInternet_.size() >= mostOnInternet_ && !order.empty()) {
        internetForgottenMs_ = std::max(internetForgottenMs_, order.front().internetMs);
        ++forgottenOnInternet_;
        order.pop_front();
    }
    onInternet_.insert(OnInternet{*name, nowMs});
}

bool HeardStations::onRadio(std::string_view callsign, std::int64_t nowMs) const {
    const OnRadio* station = findOnRadio(callsign);
    return station && recent(station->radioMs, nowMs);
}

bool HeardStations::nearOnRadio(std::string_view callsign, std::int64_t nowMs) const {
    const OnRadio* station = findOnRadio(callsign);
    return station && recent(station->nearMs, nowMs);
}

bool HeardStations::onInternet(std::string_view callsign, std::int64_t nowMs) const {
    const std::string* name = key(callsign);
    if (!name) return false;
    if (const auto radio = onRadio_.find(*name); radio != onRadio_.end() && recent(radio->internetMs, nowMs))
        return true;
    const auto found = onInternet_.find(*name);
    return found != onInternet_.end() && recent(found->internetMs, nowMs);
}

std::optional<UnknownWhere> HeardStations::whereUnknown(std::string_view callsign, std::int64_t nowMs) const {
    const OnRadio* station = findOnRadio(callsign);
    if (!station || !recent(station->radioMs, nowMs)) {
        if (recent(radioForgottenMs_, nowMs)) return UnknownWhere::OnRadio;
        return std::nullopt;
    }
    if (!onInternet(callsign, nowMs) && recent(station->internetForgottenMs, nowMs)) return UnknownWhere::OnInternet;
    return std::nullopt;
}

HeardStationsTally HeardStations::tally() const {
    return {onRadio_.size(), onInternet_.size(), forgottenOnRadio_, forgottenOnInternet_};
}

}  // namespace ovelsk::gateway
