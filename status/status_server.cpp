#include "status/status_server.h"

#include <QFile>
#include <QHostAddress>
#include <QRegularExpression>

#include "status/safety_headers.h"
#include "status/status_json.h"
#include "status/status_metrics.h"

namespace ovelsk {
namespace {

QByteArray builtIn(const char* name) {
    QFile file(QStringLiteral(":/status/") + QLatin1String(name));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QHttpServerResponse withSafetyHeaders(QHttpServerResponse response) {
    for (const auto& [name, value] : kSafetyHeaders) response.setHeader(name, value);
    return response;
}

QHttpServerResponse plain(const char* text, QHttpServerResponse::StatusCode status) {
    return withSafetyHeaders(QHttpServerResponse("text/plain; charset=utf-8", QByteArray(text), status));
}

}  // namespace

StatusServer::StatusServer(StatusSources sources, ConnectionLimits limits)
    : sources_(std::move(sources)),
      radar_(sources_.rangeText, sources_.tracker.table()),
      guard_(new ConnectionGuard(limits, &http_)) {
    const QByteArray page = builtIn("index.html"), script = builtIn("app.js"), style = builtIn("app.css");
    serve("/", [page] { return Body{"text/html; charset=utf-8", page}; });
    serve("/app.js", [script] { return Body{"text/javascript; charset=utf-8", script}; });
    serve("/app.css", [style] { return Body{"text/css; charset=utf-8", style}; });
    serve("/api/status", [this] {
        return Body{"application/json", statusJson(sources_, std::chrono::system_clock::now())};
    });
    serve("/metrics", [this] { return Body{"text/plain; version=0.0.4; charset=utf-8", statusMetrics(sources_)}; });
    serve("/radar.png", [this] { return Body{"image/png", radar_.png(std::chrono::steady_clock::now())}; });
    // Last, so it answers only what no rule above did, with the same headers.
    http_.route(QStringLiteral("/.*"), [](const QHttpServerRequest&) {
        return plain("not found\n", QHttpServerResponse::StatusCode::NotFound);
    });
}

StatusServer::~StatusServer() = default;

void StatusServer::serve(const char* path, std::function<Body()> body) {
    // Qt's router reads the path as a regular expression: "/app.js" would also
    // answer "/appXjs".
    const QString exactly = QRegularExpression::escape(QString::fromLatin1(path));
    http_.route(exactly, [body = std::move(body)](const QHttpServerRequest& request) {
        using Method = QHttpServerRequest::Method;
        using Status = QHttpServerResponse::StatusCode;
        if (request.method() != Method::Get && request.method() != Method::Head) {
            QHttpServerResponse refused = plain("only GET and HEAD\n", Status::MethodNotAllowed);
            refused.setHeader("Allow", "GET, HEAD");
            return refused;
        }
        if (!request.body().isEmpty()) return plain("a request with a body\n", Status::PayloadTooLarge);
        Body answer = body();
        // A HEAD answer tells the type but carries no body.
        if (request.method() == Method::Head) answer.bytes.clear();
        return withSafetyHeaders(QHttpServerResponse(answer.type, answer.bytes));
    });
}

std::optional<std::string> StatusServer::listen(const standin::StatusPageAddress& address) {
    if (!guard_->listen(QHostAddress(QString::fromStdString(address.address)), address.port))
        return "the status page cannot listen on " + address.text() + ": " + guard_->errorString().toStdString();
    http_.bind(guard_);
    return std::nullopt;
}

std::uint16_t StatusServer::port() const { return guard_->serverPort(); }

}  // namespace ovelsk
