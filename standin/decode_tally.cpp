#include "standin/decode_tally.h"

#include <algorithm>
#include <numeric>

namespace ovelsk::standin {

std::uint64_t DecodeTally::dropped() const { return std::accumulate(dropped_.begin(), dropped_.end(), std::uint64_t{0}); }

std::string DecodeTally::summary() const {
    std::array<aprs::DropReasonEntry, aprs::kDropReasonCount> reasons = aprs::kDropReasons;
    std::stable_sort(reasons.begin(), reasons.end(), [this](const aprs::DropReasonEntry& a, const aprs::DropReasonEntry& b) {
        return dropped(a.reason) > dropped(b.reason);
    });
    std::string text = "decoded " + std::to_string(decoded_) + ", dropped " + std::to_string(dropped());
    const char* separator = ": ";
    for (const auto& entry : reasons) {
        if (dropped(entry.reason) == 0) break;
        text += separator;
        text += entry.label;
        text += ' ' + std::to_string(dropped(entry.reason));
        separator = ", ";
    }
    return text;
}

}  // namespace ovelsk::standin
