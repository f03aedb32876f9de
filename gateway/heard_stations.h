#pragma once
// Which stations the gateway to radio has heard lately, and how: on radio, with
// the digipeater hops the packet used, or straight from the Internet. It decides
// whom an Internet message may be passed to: a station heard nearby on radio and
// not on the Internet, where it would get the message itself. Callsigns compare
// ignoring letter case. Times are milliseconds on the host's clock; what is older
// than the window is forgotten.
//
// Two tables, each costing the same per packet, amortised, however full:
//   - stations heard on radio: at 1200 baud one channel carries about ten
//     thousand distinct stations in three hours. A hash table beside a queue
//     that holds each station once, in the order queued: what grows too old,
//     or must make room past `mostOnRadio`, is taken from the front (one heard
//     again since it was queued goes to the back with its new time instead),
//     and the caller is told which station made room;
//   - stations heard on the Internet: a full APRS-IS feed names tens of
//     thousands in three hours, a hostile server any number. Two halves: every
//     station goes into the newer, moving out of the older when heard again;
//     when the newer holds half of `mostOnInternet`, or began a window ago, the
//     older is forgotten whole and the newer becomes the older. So the newest
//     half at least are always kept, and a flood of new senders costs a look-up
//     in each half, with no station to find and take out per packet.
// Internet traffic never pushes a station heard on radio out, and a station
// heard on radio keeps what was known of it on the Internet while it stays.
// Once a table has forgotten a station heard within the window, a callsign it
// does not know may be one of those: whereUnknown() says so.

#include <QHash>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace ovelsk::gateway {

// How full the tables are, and how many stations each forgot to make room.
struct HeardStationsTally {
    std::size_t onRadio = 0;
    std::size_t onInternet = 0;
    std::uint64_t forgottenOnRadio = 0;
    std::uint64_t forgottenOnInternet = 0;
};

// A station heard on radio that a full table forgot to make room.
struct ForgottenStation {
    std::string callsign;
    std::int64_t heardMs;
};

// Where a station's hearing cannot be told, because a full table forgot some.
enum class UnknownWhere { OnRadio, OnInternet };

class HeardStations {
public:
    static constexpr std::size_t kMostOnRadio = 50'000;
    static constexpr std::size_t kMostOnInternet = 200'000;

    HeardStations(std::int64_t windowMs, int nearHops, std::size_t mostOnRadio = kMostOnRadio,
                  std::size_t mostOnInternet = kMostOnInternet);

    // The station forgotten to make room for this one, when the table was full.
    std::optional<ForgottenStation> heardOnRadio(std::string_view callsign, int hops, std::int64_t nowMs);
    void heardOnInternet(std::string_view callsign, std::int64_t nowMs);

    // Heard on radio within the window: at all, or at most the near hops away.
    bool onRadio(std::string_view callsign, std::int64_t nowMs) const;
    bool nearOnRadio(std::string_view callsign, std::int64_t nowMs) const;
    bool onInternet(std::string_view callsign, std::int64_t nowMs) const;
    // Where the table cannot tell whether `callsign` was heard within the
    // window: on radio, when it is not known there; on the Internet, when it is
    // known on radio but not on the Internet. None when both can be told.
    std::optional<UnknownWhere> whereUnknown(std::string_view callsign, std::int64_t nowMs) const;

    // How many a message would be passed to now: near on radio, not on the Internet.
    std::size_t messageReachable(std::int64_t nowMs) const;

    int nearHops() const { return nearHops_; }
    std::int64_t windowMs() const { return windowMs_; }
    std::size_t mostOnRadio() const { return mostOnRadio_; }
    std::size_t mostOnInternet() const { return mostOnInternet_; }
    HeardStationsTally tally() const;

private:
    static constexpr std::int64_t kNever = INT64_MIN / 2;
    // A callsign in capitals, kept whole in the tables' own storage.
    struct Callsign {
        std::array<char, 9> text{};
        std::uint8_t size = 0;
        std::string_view view() const { return {text.data(), size}; }
        friend bool operator==(const Callsign& a, const Callsign& b) { return a.view() == b.view(); }
        friend size_t qHash(const Callsign& callsign, size_t seed) { return qHashBits(callsign.text.data(), callsign.size, seed); }
    };
    struct OnRadio {
        std::int64_t radioMs;
        std::int64_t nearMs = kNever;
        std::int64_t internetMs = kNever;
        // The newest Internet hearing the Internet table had forgotten when
        // this station was first heard on radio: it may have been this one's.
        std::int64_t internetForgottenMs = kNever;
    };
    struct OnInternet {
        std::int64_t internetMs = kNever;  // kNever: a place just made for it
    };
    // One half of the Internet table.
    struct InternetHalf {
        QHash<Callsign, OnInternet> stations;
        std::int64_t firstMs = kNever;   // when its first station went in
        std::int64_t newestMs = kNever;  // its newest hearing
    };
    struct Queued {
        Callsign callsign;
        std::int64_t heardMs;  // when it was queued
    };

    // `callsign` in capitals, or none for one longer than an addressee can be.
    static std::optional<Callsign> key(std::string_view callsign);
    bool recent(std::int64_t thenMs, std::int64_t nowMs) const;
    void forgetOld(std::int64_t nowMs);
    // The station at the front of the radio queue, unless it was heard again
    // since it was queued: then it goes to the back with its new time.
    std::optional<QHash<Callsign, OnRadio>::iterator> radioFrontUnlessHeardSinceQueued();
    // Forgets the older half of the Internet table; the newer takes its place.
    void startNewerOnInternet(std::int64_t nowMs);
    const OnInternet* findOnInternet(const Callsign& callsign) const;

    std::int64_t windowMs_;
    int nearHops_;
    std::size_t mostOnRadio_;
    std::size_t mostOnInternet_;
    QHash<Callsign, OnRadio> onRadio_;
    std::deque<Queued> radioOrder_;
    InternetHalf newerOnInternet_;
    InternetHalf olderOnInternet_;
    // The last hearing of the newest station each table forgot to make room.
    std::int64_t radioForgottenMs_ = kNever;
    std::int64_t internetForgottenMs_ = kNever;
    std::uint64_t forgottenOnRadio_ = 0;
    std::uint64_t forgottenOnInternet_ = 0;
};

}  // namespace ovelsk::gateway
