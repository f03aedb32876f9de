#include "aprs/igate_query.h"

namespace ovelsk::aprs {

// A general query may name a footprint after the "?IGATE?" ("?IGATE?4903,-7201,50");
// every iGate that hears it answers.
bool isIgateQuery(std::string_view information) { return information.starts_with("?IGATE?"); }

std::string igateCapabilities(std::uint64_t messagesToRadio, std::size_t localStations) {
    return "<IGATE,MSG_CNT=" + std::to_string(messagesToRadio) + ",LOC_CNT=" + std::to_string(localStations);
}

}  // namespace ovelsk::aprs
