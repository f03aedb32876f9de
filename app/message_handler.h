#pragma once
// Where Ovelsk's notes go: every message, ours (by logging category: ovelsk.feeds,
// ovelsk.decode, ...) and Qt's, passes one handler that writes it as one line on
// standard error. Under systemd (JOURNAL_STREAM names standard error) each line
// starts with its syslog priority, <3> error, <4> warning, <6> information,
// <7> debug, so the journal keeps the levels. Qt's platform chatter that says
// nothing to an iGate operator is left out.
//
// Detail is turned on per category with Qt's rules, for example
//   QT_LOGGING_RULES="ovelsk.decode.debug=true"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace ovelsk {

// The line written for one message, line end included; nullopt for chatter that
// is left out. `category` is "default" for messages without one.
std::optional<QByteArray> formatLogLine(QtMsgType type, const char* category, const QString& message,
                                        bool toJournal);

// True when standard error is the journal stream systemd set up (JOURNAL_STREAM
// holds the device and inode of standard error).
bool standardErrorIsJournal();

// Installs the handler for the whole program.
void installMessageHandler();

class StatusOutput;

// While it lives, the handler writes the notes through a writer that never waits
// for the reader (StatusOutput), so a stalled standard error (`ovelsk 2>&1 | less`
// left open) cannot hold up the program; notes from other threads are handed to
// the thread that made it. The journal reads what it is given at once and keeps
// the plain blocking write. Needs the Qt event loop of the calling thread.
class NotesWithoutWaiting final {
public:
    explicit NotesWithoutWaiting(int fd = 2);
    ~NotesWithoutWaiting();
    NotesWithoutWaiting(const NotesWithoutWaiting&) = delete;
    NotesWithoutWaiting& operator=(const NotesWithoutWaiting&) = delete;

private:
    std::unique_ptr<StatusOutput> output_;
};

}  // namespace ovelsk
