#include "aprs/feed_log.h"

#include <iostream>

namespace ovelsk::aprs {

void logToStandardError(std::string_view line) { std::cerr << line << '\n' << std::flush; }

}  // namespace ovelsk::aprs
