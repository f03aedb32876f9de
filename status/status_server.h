#pragma once
// The status page: a read-only view of the running iGate in a browser, served
// by Ovelsk itself on the address of the Status Page setting.
//   GET /            the page; its script and style are /app.js and /app.css
//   GET /api/status  the data as JSON (status_json.h)
//   GET /metrics     the counters and gauges for Prometheus (status_metrics.h)
//   GET /radar.png   the radar, redrawn at most once a second (radar_png.h)
// Only GET and HEAD; any other method on these paths is 405, any other path
// 404, a request with a body 413. Every answer forbids scripts, styles and
// pictures from elsewhere, framing, sniffing and caching.
//
// The server runs on a thread of its own (server_core.h) and answers every
// client from one snapshot of the data. The snapshot is built on the event
// loop, from what the host and the tracker hold, changing nothing, and only
// when a request finds it older than a second: an iGate nobody looks at does
// no work for the page.

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "standin/status_page_setting.h"
#include "status/radar_png.h"
#include "status/server_counts.h"
#include "status/server_limits.h"
#include "status/status_sources.h"

namespace ovelsk {

class ServerCore;

class StatusServer {
public:
    explicit StatusServer(StatusSources sources, ServerLimits limits = {});
    ~StatusServer();

    // Starts listening; why not, when it cannot. Answers the names of
    // address.names besides IP addresses, localhost and this machine's name.
    std::optional<std::string> listen(const standin::StatusPageAddress& address);
    std::uint16_t port() const;
    int openConnections() const;
    const ServerCounts& counts() const;
    // How many snapshots the event loop has built.
    int snapshotsBuilt() const { return snapshotsBuilt_; }

private:
    void rebuild();

    StatusSources sources_;
    ServerLimits limits_;
    RadarPng radar_;
    QObject eventLoop_;  // where the server's thread posts its requests for a snapshot
    int snapshotsBuilt_ = 0;
    std::unique_ptr<ServerCore> core_;  // after eventLoop_: its thread is gone before that is
};

}  // namespace ovelsk
