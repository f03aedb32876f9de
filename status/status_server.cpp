#include "status/status_server.h"

#include <QFile>
#include <QHostInfo>
#include <boost/asio/ip/address.hpp>

#include "status/server_core.h"
#include "status/status_json.h"
#include "status/status_metrics.h"

namespace ovelsk {
namespace {

QByteArray builtIn(const char* name) {
    QFile file(QStringLiteral(":/status/") + QLatin1String(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

std::vector<Resource> resources() {
    return {
        {"/", "text/html; charset=utf-8", builtIn("index.html")},
        {"/app.js", "text/javascript; charset=utf-8", builtIn("app.js")},
        {"/app.css", "text/css; charset=utf-8", builtIn("app.css")},
        {"/api/status", "application/json", {}, &StatusSnapshot::json},
        {"/metrics", "text/plain; version=0.0.4; charset=utf-8", {}, &StatusSnapshot::metrics},
        {"/radar.png", "image/png", {}, &StatusSnapshot::png},
    };
}

}  // namespace

StatusServer::StatusServer(StatusSources sources, ServerLimits limits)
    : sources_(std::move(sources)), limits_(limits), radar_(sources_.rangeText, sources_.tracker.table()) {}

StatusServer::~StatusServer() = default;

std::optional<std::string> StatusServer::listen(const standin::StatusPageAddress& address) {
    const auto cannot = [&address](const std::string& why) {
        return "the status page cannot listen on " + address.text() + ": " + why;
    };
    boost::system::error_code error;
    const auto ip = boost::asio::ip::make_address(address.address, error);
    if (error) return cannot(error.message());
    core_ = std::make_unique<ServerCore>(limits_, HostRule(QHostInfo::localHostName().toStdString(), address.names),
                                         resources(), [this] {
                                             QMetaObject::invokeMethod(&eventLoop_, [this] { rebuild(); },
                                                                       Qt::QueuedConnection);
                                         });
    if (auto why = core_->listen(ip, address.port)) {
        core_.reset();
        return cannot(*why);
    }
    rebuild();
    core_->start();
    return std::nullopt;
}

void StatusServer::rebuild() {
    auto snapshot = std::make_shared<StatusSnapshot>();
    snapshot->built = std::chrono::steady_clock::now();
    snapshot->json = statusJson(sources_, std::chrono::system_clock::now());
    snapshot->metrics = statusMetrics(sources_, core_->counts);
    snapshot->png = radar_.png(snapshot->built);
    ++snapshotsBuilt_;
    core_->publish(std::move(snapshot));
}

std::uint16_t StatusServer::port() const { return core_ ? core_->port() : 0; }

int StatusServer::openConnections() const { return core_ ? core_->open.load() : 0; }

const ServerCounts& StatusServer::counts() const { return core_->counts; }

}  // namespace ovelsk
