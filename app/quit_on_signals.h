#pragma once
// Ends the event loop cleanly on SIGINT, SIGTERM and SIGHUP, so Ctrl+C, a service
// manager's stop or the closing of the terminal Ovelsk runs in ends it with exit
// status 0 and its summary logged. The signal handler only writes a
// byte to a pipe; the event loop reads it and quits the application.

#include <QObject>

class QSocketNotifier;

namespace ovelsk {

class QuitOnSignals final : public QObject {
public:
    // Installs the handlers; there is one instance per process.
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ovelsk
