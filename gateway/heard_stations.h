#pragma once
// Which stations the gateway to radio has heard lately, and how: on radio, with
// the digipeater hops the packet used, or straight from the Internet. It decides
// whom an Internet message may be passed to: a station heard nearby on radio and
// not on the Internet, where it would get the message itself. Callsigns compare
// ignoring letter case. Times are milliseconds on the host's clock; what is older
// than the window is forgotten, and at most `maxStations` are kept (a full APRS-IS
// feed names tens of thousands in three hours).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ovelsk::gateway {

class HeardStations {
public:
    HeardStations(std::int64_t windowMs, int nearHops, std::size_t maxStations = 200'000);

    void heardOnRadio(std::string_view callsign, int hops, std::int64_t nowMs);
    void heardOnInternet(std::string_view callsign, std::int64_t nowMs);

    // Heard on radio within the window: at all, or at most the near hops away.
    bool onRadio(std::string_view callsign, std::int64_t nowMs) const;
    bool nearOnRadio(std::string_view callsign, std::int64_t nowMs) const;
    bool onInternet(std::string_view callsign, std::int64_t nowMs) const;

    // How many a message would be passed to now: near on radio, not on the Internet.
    std::size_t messageReachable(std::int64_t nowMs) const;

    int nearHops() const { return nearHops_; }

private:
    static constexpr std::int64_t kNever = INT64_MIN / 2;
    struct Heard {
        std::int64_t radioMs = kNever;
        std::int64_t nearMs = kNever;
        std::int64_t internetMs = kNever;
    };

    const std::string& key(std::string_view callsign) const;
    Heard* entry(std::string_view callsign, std::int64_t nowMs);
    const Heard* find(std::string_view callsign) const;
    bool recent(std::int64_t thenMs, std::int64_t nowMs) const;
    void forgetOld(std::int64_t nowMs);

    std::int64_t windowMs_;
    int nearHops_;
    std::size_t maxStations_;
    std::unordered_map<std::string, Heard> stations_;  // by callsign in capitals
    mutable std::string keyBuffer_;
    std::int64_t lastSweepMs_ = 0;
};

}  // namespace ovelsk::gateway
