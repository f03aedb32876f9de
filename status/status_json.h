#pragma once
// The status as one JSON document, the data of the page and of GET /api/status;
// README.md and ovelsk(1) list every field. Text from the network (packets,
// server replies, callsigns) only ever appears as JSON strings: control bytes
// escaped, bytes that are not UTF-8 replaced by U+FFFD.

#include <QByteArray>
#include <chrono>

#include "status/status_sources.h"

namespace ovelsk {

// Raised when a field changes meaning or goes away; new fields leave it.
inline constexpr int kStatusJsonVersion = 1;

QByteArray statusJson(const StatusSources& sources, std::chrono::system_clock::time_point now);

}  // namespace ovelsk
