#pragma once
// Direwolf as the TNC at the other end of a KISS connection, run through the
// shared direwolf-peer harness: the packets of a file are turned into audio,
// decoded by a real Direwolf, and served over KISS TCP on 127.0.0.1, and on a
// pseudo terminal as a serial TNC serves it when asked. By default the feed
// starts once one client is attached and the peer stops after it; a peer kept
// running plays its packets when told to, and lists what its clients asked it
// to transmit (to a null audio device: nothing goes on the air). The peer is
// always stopped on the way out. Direwolf points the fixed link /tmp/kisstnc at
// its pseudo terminal, so peers that serve one run one at a time.

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <memory>
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

    struct Options {
        // False: the peer plays only on feed() and runs until stopped.
        bool playOnFirstClient = true;
        // Also serve KISS on a pseudo terminal; a client there does not count
        // as attached, so such a peer plays only on feed().
        bool pseudoTerminal = false;
    };

    // Starts the peer on a free loopback port with these TNC2 packets and waits
    // until it listens. False, with the reason in error(), if it does not.
    bool start(const std::vector<std::string>& packets) { return start(packets, Options{}); }
    bool start(const std::vector<std::string>& packets, Options options) {
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
        if (options.pseudoTerminal) {
            ptyLock_ = std::make_unique<QLockFile>(QDir::temp().filePath("ovelsk-direwolf-pty.lock"));
            ptyLock_->setStaleLockTime(0);
            ptyLock_->lock();
            environment.insert("DWPEER_PTY", "1");
        } else if (options.playOnFirstClient) {
            environment.insert("DWPEER_AUTOFEED", "1");
            environment.insert("DWPEER_EXIT_AFTER_FEED", "1");
        }
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

    // The pseudo terminal the peer serves KISS on, as a serial TNC's device.
    std::string pseudoTerminal() const {
        QFile file(stateFolder() + "/pty");
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toStdString() : std::string();
    }

    // Plays the packets once more, as radio traffic its clients hear.
    void feed() { QFile(stateFolder() + "/go").open(QIODevice::WriteOnly); }

    // Whether Direwolf's own log holds `text` yet; cheap enough to poll.
    bool logHas(std::string_view text) const {
        QFile log(stateFolder() + "/direwolf.log");
        return log.open(QIODevice::ReadOnly) &&
               log.readAll().contains(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    }

    // The frames clients asked Direwolf to transmit, as it logged them in TNC2 text.
    std::vector<std::string> transmitted() const {
        QProcess txLog;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DWPEER_DIR", stateFolder());
        txLog.setProcessEnvironment(environment);
        txLog.start(toolsFolder() + "/run-peer.sh", {"--tx-log", QString::number(port_)});
        txLog.waitForFinished(15000);
        return lines(txLog.readAllStandardOutput().toStdString());
    }

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

    // Direwolf takes KISS ports 1024 to 49151 only, and the system hands out
    // ports up to 60999, so the port is picked from 20000 to 49151.
    static quint16 freeLoopbackPort() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            const auto candidate = static_cast<quint16>(20000 + QRandomGenerator::global()->bounded(29152));
            QTcpServer probe;
            if (probe.listen(QHostAddress::LocalHost, candidate)) return candidate;
        }
        return 0;
    }

    QTemporaryDir work_;
    std::unique_ptr<QLockFile> ptyLock_;  // released after the process below has stopped
    QProcess process_;
    quint16 port_ = 0;
    std::string error_;
};

}  // namespace ovelsk::testing
