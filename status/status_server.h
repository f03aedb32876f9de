#pragma once
// The status page: a read-only view of the running iGate in a browser, served
// by Ovelsk itself on the address of the Status Page setting.
//   GET /            the page; its script and style are /app.js and /app.css
//   GET /api/status  the data as JSON (status_json.h)
//   GET /metrics     the counters and gauges for Prometheus (status_metrics.h)
//   GET /radar.png   the radar, redrawn at most once a second (radar_png.h)
// Only GET and HEAD; any other method on these paths is 405, any other path
// 404, a request with a body 413. Every answer forbids scripts, styles and
// pictures from elsewhere, sniffing and caching. Everything is built on the
// event loop from what the host and the tracker hold, changing nothing.

#include <QByteArray>
#include <QHttpServer>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "standin/status_page_setting.h"
#include "status/connection_guard.h"
#include "status/radar_png.h"
#include "status/status_sources.h"

namespace ovelsk {

class StatusServer {
public:
    explicit StatusServer(StatusSources sources, ConnectionLimits limits = {});
    ~StatusServer();

    // Starts listening; why not, when it cannot.
    std::optional<std::string> listen(const standin::StatusPageAddress& address);
    std::uint16_t port() const;
    int openConnections() const { return guard_->openConnections(); }

private:
    struct Body {
        QByteArray type;
        QByteArray bytes;
    };
    void serve(const char* path, std::function<Body()> body);

    StatusSources sources_;
    RadarPng radar_;
    QHttpServer http_;
    ConnectionGuard* guard_;  // a child of http_
};

}  // namespace ovelsk
