#pragma once
// Direwolf as the TNC at the other end of a KISS connection, run through the
// shared direwolf-peer harness: the packets of a file are turned into audio,
// decoded by a real Direwolf, and served over KISS TCP on 127.0.0.1. The feed
// starts once one client is attached; the peer is always stopped on the way out.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "feeds/aprs_is_loopback_server.h"

namespace ovelsk::testing {

class DirewolfPeer {
public:
    // The harness in "shared/" beside the project; a git worktree sits a folder
    // or more deeper, so the parents are searched upwards.
    static QString toolsFolder() {
        QDir dir(QStringLiteral(OVELSK_SOURCE_DIR));
        while (dir.cdUp()) {
            if (dir.exists(QStringLiteral("shared/tools/direwolf-peer/run-peer.sh"))) {
                return dir.filePath(QStringLiteral("shared/tools/direwolf-peer"));
            }
        }
        return QStringLiteral(OVELSK_SOURCE_DIR "/../shared/tools/direwolf-peer");
    }

    // Why the peer cannot run here, or empty when it can.
    static std::string unavailableReason() {
        if (QStandardPaths::findExecutable("direwolf").isEmpty() ||
            QStandardPaths::findExecutable("gen_packets").isEmpty()) {
            return "direwolf is not installed";
        }
        if (!QFile::exists(toolsFolder() + "/run-peer.sh")) {
            return "the direwolf-peer harness is not at " + toolsFolder().toStdString();
        }
        return {};
    }

    ~DirewolfPeer() { stop(); }

    // Starts the peer on a free loopback port with these TNC2 packets and waits
    // until it listens. False, with the reason in error(), if it does not.
    bool start(const std::vector<std::string>& packets) {
        if (!work_.isValid()) {
            error_ = "no temporary folder";
            return false;
        }
        QFile file(work_.filePath("packets.txt"));
        if (!file.open(QIODevice::WriteOnly)) {
            error_ = "cannot write the packets file";
            return false;
        }
        for (const auto& packet : packets) {
            file.write(packet.data(), static_cast<qint64>(packet.size()));
            file.write("\n");
        }
        file.close();
        port_ = freeLoopbackPort();

        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DWPEER_DIR", stateFolder());
        environment.insert("DWPEER_AUTOFEED", "1");
        environment.insert("DWPEER_EXIT_AFTER_FEED", "1");
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(toolsFolder() + "/run-peer.sh", {file.fileName(), QString::number(port_)});
        const bool ready = spinUntil(
            [&] { return QFile::exists(stateFolder() + "/ready") || process_.state() == QProcess::NotRunning; },
            std::chrono::seconds(60));
        if (!ready || !QFile::exists(stateFolder() + "/ready")) {
            error_ = "the peer did not come up: " + process_.readAll().toStdString();
            return false;
        }
        return true;
    }

    quint16 port() const { return port_; }
    const std::string& error() const { return error_; }
    std::string output() { return process_.readAll().toStdString(); }

    void stop() {
        if (process_.state() == QProcess::NotRunning) {
            return;
        }
        process_.terminate();  // the harness closes Direwolf's input and waits for it
        if (!process_.waitForFinished(15000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

private:
    QString stateFolder() const { return work_.filePath("state"); }

    static quint16 freeLoopbackPort() {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }

    QTemporaryDir work_;
    QProcess process_;
    quint16 port_ = 0;
    std::string error_;
};

}  // namespace ovelsk::testing
