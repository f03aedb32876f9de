#pragma once
// Headless Chromium driven over the DevTools protocol on its debugging pipe
// (--remote-debugging-pipe: commands go in on its descriptor 3, answers come
// out on 4, each a JSON text ended by a NUL), with one page attached.

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>

#include <chrono>
#include <filesystem>
#include <string>

namespace ovelsk::testing {

class DevToolsPipe {
public:
    // Starts `browser` with a profile in `profile` and opens a blank page.
    DevToolsPipe(const QString& browser, const std::filesystem::path& profile);
    ~DevToolsPipe();
    DevToolsPipe(const DevToolsPipe&) = delete;
    DevToolsPipe& operator=(const DevToolsPipe&) = delete;

    // The page's answer to `method`: its "result", or an object holding
    // "error" when the browser refused or did not answer within the limit.
    QJsonObject page(const QString& method, const QJsonObject& params = {});
    // The value of a script run in the page, a promise's once it settles; null
    // when the script failed or its page went away (lastError() says which).
    QJsonValue evaluate(const QString& script);
    const QString& lastError() const { return lastError_; }
    bool running() const { return browser_.state() == QProcess::Running; }

private:
    QJsonObject call(const QString& method, const QJsonObject& params, const QString& session);

    static constexpr std::chrono::seconds kAnswerLimit{120};

    QProcess browser_;
    int toBrowser_ = -1;
    int fromBrowser_ = -1;
    int nextId_ = 1;
    std::string received_;
    QString session_;
    QString lastError_;
};

}  // namespace ovelsk::testing
