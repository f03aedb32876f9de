#include "app/devtools_pipe.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ovelsk::testing {
namespace {

constexpr int kBrowserCommands = 3;  // the descriptors --remote-debugging-pipe uses
constexpr int kBrowserAnswers = 4;

}  // namespace

DevToolsPipe::DevToolsPipe(const QString& browser, const std::filesystem::path& profile) {
    // One socket serves both directions; unlike a pipe, writing to it after the
    // browser died fails instead of raising SIGPIPE.
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        ADD_FAILURE() << "no socket pair for the browser";
        return;
    }
    toBrowser_ = fromBrowser_ = ends[0];
    const int browserEnd = ends[1];
    browser_.setChildProcessModifier([browserEnd] {
        // Above the two descriptors first, so neither dup2 closes the other's source.
        const int high = ::fcntl(browserEnd, F_DUPFD_CLOEXEC, 10);
        ::dup2(high, kBrowserCommands);
        ::dup2(high, kBrowserAnswers);
    });
    // Its chatter goes to a file: a pipe nobody drains would stall it once full.
    std::filesystem::create_directories(profile);
    browser_.setStandardOutputFile(QProcess::nullDevice());
    browser_.setStandardErrorFile(QString::fromStdString((profile / "chatter.txt").string()));
    browser_.start(browser, {"--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
                             "--user-data-dir=" + QString::fromStdString(profile.string()), "about:blank"});
    ::close(browserEnd);
    if (!browser_.waitForStarted()) {
        ADD_FAILURE() << "the browser did not start: " << browser_.errorString().toStdString();
        return;
    }
    const QJsonObject target = call("Target.createTarget", {{"url", "about:blank"}}, {});
    session_ = call("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}}, {})["sessionId"]
                   .toString();
    if (session_.isEmpty()) ADD_FAILURE() << "no page to drive in the browser";
}

DevToolsPipe::~DevToolsPipe() {
    if (toBrowser_ >= 0) ::close(toBrowser_);  // the browser quits when its pipe closes
    if (browser_.state() != QProcess::NotRunning && !browser_.waitForFinished(10'000)) {
        browser_.kill();
        browser_.waitForFinished();
    }
}

QJsonObject DevToolsPipe::page(const QString& method, const QJsonObject& params) {
    return call(method, params, session_);
}

QJsonValue DevToolsPipe::evaluate(const QString& script) {
    const QJsonObject answer =
        page("Runtime.evaluate", {{"expression", script}, {"awaitPromise", true}, {"returnByValue", true}});
    if (answer.contains("error") || answer.contains("exceptionDetails")) {
        lastError_ = QString::fromUtf8(QJsonDocument(answer).toJson(QJsonDocument::Compact));
        return QJsonValue::Null;
    }
    lastError_.clear();
    return answer["result"].toObject()["value"];
}

QJsonObject DevToolsPipe::call(const QString& method, const QJsonObject& params, const QString& session) {
    const int id = nextId_++;
    QJsonObject command{{"id", id}, {"method", method}, {"params", params}};
    if (!session.isEmpty()) command["sessionId"] = session;
    const QByteArray text = QJsonDocument(command).toJson(QJsonDocument::Compact) + '\0';
    for (qsizetype sent = 0; sent < text.size();) {
        const ssize_t n = ::send(toBrowser_, text.data() + sent, static_cast<size_t>(text.size() - sent), MSG_NOSIGNAL);
        if (n <= 0) return {{"error", "the browser does not take " + method}};
        sent += n;
    }

    // Events come in between; the answer is the message that carries the id.
    const auto deadline = std::chrono::steady_clock::now() + kAnswerLimit;
    for (;;) {
        for (auto end = received_.find('\0'); end != std::string::npos; end = received_.find('\0')) {
            const QJsonObject message = QJsonDocument::fromJson(QByteArray::fromStdString(received_.substr(0, end))).object();
            received_.erase(0, end + 1);
            if (message["id"].toInt() != id) continue;
            return message.contains("error") ? QJsonObject{{"error", message["error"]}} : message["result"].toObject();
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {{"error", "no answer to " + method}};
        pollfd ready{fromBrowser_, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        char chunk[65536];
        const ssize_t n = polled > 0 ? ::read(fromBrowser_, chunk, sizeof chunk) : 0;
        if (n <= 0) return {{"error", "no answer to " + method}};
        received_.append(chunk, static_cast<size_t>(n));
    }
}

}  // namespace ovelsk::testing
