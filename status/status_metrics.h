#pragma once
// The status as Prometheus metrics, for GET /metrics (text format 0.0.4):
//   ovelsk_feed_packets_total{feed="aprs-is:rotate.aprs2.net:14580"} 1234
//   ovelsk_feed_connected{feed="kiss:localhost:8001"} 1
//   ovelsk_packets_decoded_total 10234
//   ovelsk_packets_dropped_total{reason="no position"} 640
//   ovelsk_gate_decisions_total{direction="to radio",outcome="sent"} 12
//   ovelsk_stations_tracked 37
//   ovelsk_stations_listed 9
//   ovelsk_status_connections_refused_total{reason="cap"} 0     (also "deadline", "host")
//   ovelsk_status_connections_unread_total 0

#include <QByteArray>

#include "status/server_counts.h"
#include "status/status_sources.h"

namespace ovelsk {

QByteArray statusMetrics(const StatusSources& sources, const ServerCounts& server);

}  // namespace ovelsk
