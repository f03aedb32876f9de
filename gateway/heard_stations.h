#pragma once
// Which stations the gateway to radio has heard lately, and how: on radio, with
// the digipeater hops the packet used, or straight from the Internet. It decides
// whom an Internet message may be passed to: a station heard nearby on radio and
// not on the Internet, where it would get the message itself. Callsigns compare
// ignoring letter case. Times are milliseconds on the host's clock; what is older
// than the window is forgotten.
//
// Two tables, each in the order its stations were last heard, so that what
// grows too old, or what must make room, is always at the front and every
// packet costs the same however full they are:
//   - stations heard on radio: at 1200 baud one channel carries about ten
//     thousand distinct stations in three hours; past `mostOnRadio` the one
//     heard longest ago is forgotten, and the caller is told which;
//   - stations heard on the Internet: a full APRS-IS feed names tens of
//     thousands in three hours, a hostile server any number; past
//     `mostOnInternet` the one heard longest ago is forgotten. Internet traffic
//     never pushes a station heard on radio out, and a station heard on radio
//     keeps what was known of it on the Internet while it stays.
// Once a table has forgotten a station heard within the window, a callsign it
// does not know may be one of those: whereUnknown() says so.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <boost/multi_index/hashed_index.hpp>
#include <boost/multi_index/member.hpp>
#include <boost/multi_index/sequenced_index.hpp>
#include <boost/multi_index_container.hpp>

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

    int nearHops() const { return nearHops_; }
    std::int64_t windowMs() const { return windowMs_; }
    std::size_t mostOnRadio() const { return mostOnRadio_; }
    std::size_t mostOnInternet() const { return mostOnInternet_; }
    HeardStationsTally tally() const;

private:
    static constexpr std::int64_t kNever = INT64_MIN / 2;
    struct OnRadio {
        std::string callsign;  // in capitals
        std::int64_t radioMs;
        std::int64_t nearMs = kNever;
        std::int64_t internetMs = kNever;
        // The newest Internet hearing the Internet table had forgotten when
        // this station was first heard on radio: it may have been this one's.
        std::int64_t internetForgottenMs = kNever;
    };
    struct OnInternet {
        std::string callsign;  // in capitals
        std::int64_t internetMs;
    };
    // A hash table beside a list in the order last heard, oldest first.
    template <typename Entry>
    using ByLastHeard = boost::multi_index_container<
        Entry, boost::multi_index::indexed_by<
                   boost::multi_index::hashed_unique<boost::multi_index::member<Entry, std::string, &Entry::callsign>>,
                   boost::multi_index::sequenced<>>>;

    // `callsign` in capitals, or none for one longer than an addressee can be.
    const std::string* key(std::string_view callsign) const;
    const OnRadio* findOnRadio(std::string_view callsign) const;
    bool recent(std::int64_t thenMs, std::int64_t nowMs) const;
    void forgetOld(std::int64_t nowMs);

    std::int64_t windowMs_;
    int nearHops_;
    std::size_t mostOnRadio_;
    std::size_t mostOnInternet_;
    ByLastHeard<OnRadio> onRadio_;
    ByLastHeard<OnInternet> onInternet_;
    // The last hearing of the newest station each table forgot to make room.
    std::int64_t radioForgottenMs_ = kNever;
    std::int64_t internetForgottenMs_ = kNever;
    std::uint64_t forgottenOnRadio_ = 0;
    std::uint64_t forgottenOnInternet_ = 0;
    mutable std::string keyBuffer_;
};

}  // namespace ovelsk::gateway
