#pragma once
// What the decoder made of the host's packets since start: how many raised a
// beacon, how many were dropped and why, and the one line the host logs about it
// every hour and at exit:
//   decoded 10234, dropped 812: no position 640, object 101, status 71

#include <array>
#include <cstdint>
#include <string>

#include "aprs/drop_reason.h"

namespace ovelsk::standin {

class DecodeTally {
public:
    void countDecoded() { ++decoded_; }
    void countDropped(aprs::DropReason reason) { ++dropped_[aprs::dropReasonIndex(reason)]; }

    std::uint64_t decoded() const { return decoded_; }
    std::uint64_t dropped() const;
    std::uint64_t dropped(aprs::DropReason reason) const { return dropped_[aprs::dropReasonIndex(reason)]; }

    // The reasons that occurred, most frequent first (ties in the order of the enum).
    std::string summary() const;

private:
    std::uint64_t decoded_ = 0;
    std::array<std::uint64_t, aprs::kDropReasonCount> dropped_{};
};

}  // namespace ovelsk::standin
