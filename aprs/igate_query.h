#pragma once
// The APRS general query an iGate answers, and its answer, a station
// capabilities report: the messages it passed from APRS-IS to radio since it
// started, and the stations it would pass one to now:
//   asked:    M1LOC-7>APRS,WIDE1-1:?IGATE?
//   answer:   M0IGT-10>APZOVL,WIDE1-1:<IGATE,MSG_CNT=12,LOC_CNT=3

#include <cstdint>
#include <string>
#include <string_view>

namespace ovelsk::aprs {

// The information (or a message's text) asks iGates for their capabilities.
bool isIgateQuery(std::string_view information);

std::string igateCapabilities(std::uint64_t messagesToRadio, std::size_t localStations);

}  // namespace ovelsk::aprs
