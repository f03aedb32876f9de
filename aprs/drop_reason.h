#pragma once
// Why the decoder raised no beacon for a packet: one code per reason and the one
// table of their labels, which ovelsk-decode prints and counts are kept under.

#include <array>
#include <cstddef>
#include <string_view>

namespace ovelsk::aprs {

enum class DropReason {
    MalformedHeader,
    BadCallsign,
    ThirdPartyTooDeep,
    NoPosition,
    BadPosition,
    BadTimestamp,
    BadSymbolTable,
    PositionOutOfRange,
    Object,
    Item,
    Message,
    Status,
    Telemetry,
};

struct DropReasonEntry {
    DropReason reason;
    std::string_view label;
};

// Every reason once, in the order of the enum, so that it can be walked to list
// or count them all.
inline constexpr auto kDropReasons = std::to_array<DropReasonEntry>({
    {DropReason::MalformedHeader, "malformed header"},
    {DropReason::BadCallsign, "bad callsign"},
    {DropReason::ThirdPartyTooDeep, "third-party nested too deep"},
    {DropReason::NoPosition, "no position"},
    {DropReason::BadPosition, "bad position"},
    {DropReason::BadTimestamp, "bad timestamp"},
    {DropReason::BadSymbolTable, "bad symbol table"},
    {DropReason::PositionOutOfRange, "position out of range"},
    {DropReason::Object, "object"},
    {DropReason::Item, "item"},
    {DropReason::Message, "message"},
    {DropReason::Status, "status"},
    {DropReason::Telemetry, "telemetry"},
});

inline constexpr std::size_t kDropReasonCount = kDropReasons.size();

constexpr std::size_t dropReasonIndex(DropReason reason) { return static_cast<std::size_t>(reason); }

constexpr std::string_view dropReasonLabel(DropReason reason) { return kDropReasons[dropReasonIndex(reason)].label; }

namespace detail {
constexpr bool dropReasonsFollowTheEnum()
{
    for (std::size_t i = 0; i < kDropReasons.size(); ++i) {
        if (dropReasonIndex(kDropReasons[i].reason) != i || kDropReasons[i].label.empty()) {
            return false;
        }
    }
    return true;
}
}  // namespace detail
static_assert(detail::dropReasonsFollowTheEnum(), "kDropReasons lists every DropReason once, in enum order");

}  // namespace ovelsk::aprs
