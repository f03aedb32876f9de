#include "app/message_handler.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

#include "app/status_output.h"

namespace ovelsk {
namespace {

// Notes Qt writes on platforms an iGate runs on (offscreen, a service without a
// login session) that need no action.
constexpr std::string_view kChatter[] = {
    "This plugin does not support ",              // offscreen: propagateSizeHints(), raise(), ...
    "QStandardPaths: XDG_RUNTIME_DIR not set",    // a service or su session has none
};

int syslogPriority(QtMsgType type) {
    switch (type) {
    case QtDebugMsg: return 7;
    case QtInfoMsg: return 6;
    case QtWarningMsg: return 4;
    case QtCriticalMsg: return 3;
    case QtFatalMsg: return 2;
    }
    return 6;
}

const char* levelWord(QtMsgType type) {
    switch (type) {
    case QtWarningMsg: return "warning: ";
    case QtCriticalMsg:
    case QtFatalMsg: return "error: ";
    default: return "";
    }
}

bool toJournal = false;

// The writer that never waits, and its thread; none before the event loop exists.
StatusOutput* notesOutput = nullptr;
QThread* notesThread = nullptr;
// Once the writer is gone with lines its reader never took, later notes are
// dropped rather than block the program on its way out.
bool readerStalled = false;

void writeLine(const QByteArray& line) {
    if (notesOutput) {
        notesOutput->writeLine(std::string_view(line.constData(), static_cast<size_t>(line.size()) - 1));
    } else if (!readerStalled) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
        std::fflush(stderr);
    }
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (const auto line = formatLogLine(type, context.category, message, toJournal)) {
        if (!notesOutput || QThread::currentThread() == notesThread) {
            writeLine(*line);
        } else if (type == QtFatalMsg) {
            // No later turn of the event loop comes; the writer belongs to its thread.
            std::fwrite(line->constData(), 1, static_cast<size_t>(line->size()), stderr);
        } else {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [line = *line] { writeLine(line); },
                                      Qt::QueuedConnection);
        }
    }
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

std::optional<QByteArray> formatLogLine(QtMsgType type, const char* category, const QString& message,
                                        bool journal) {
    const QByteArray text = message.toUtf8();
    for (const std::string_view chatter : kChatter) {
        if (std::string_view(text.constData(), static_cast<size_t>(text.size())).starts_with(chatter)) return std::nullopt;
    }
    QByteArray line;
    if (journal) line += '<' + QByteArray::number(syslogPriority(type)) + '>';
    if (category && std::strcmp(category, "default") != 0) line += QByteArray(category) + ": ";
    line += levelWord(type);
    // One message, one line: a line break inside would start a line without its level.
    line += QByteArray(text).replace('\n', ' ');
    line += '\n';
    return line;
}

bool standardErrorIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    if (!stream) return false;
    unsigned long long device = 0, inode = 0;
    if (std::sscanf(stream, "%llu:%llu", &device, &inode) != 2) return false;
    struct stat info {};
    return ::fstat(2, &info) == 0 && info.st_dev == device && info.st_ino == inode;
}

void installMessageHandler() {
    toJournal = standardErrorIsJournal();
    qInstallMessageHandler(handleMessage);
}

NotesWithoutWaiting::NotesWithoutWaiting(int fd) {
    if (toJournal) return;
    output_ = std::make_unique<StatusOutput>(fd, "notes", "standard error");
    notesOutput = output_.get();
    notesThread = QThread::currentThread();
}

NotesWithoutWaiting::~NotesWithoutWaiting() {
    if (!output_) return;
    notesOutput = nullptr;
    notesThread = nullptr;
    readerStalled = output_->unwrittenBytes() > 0;
    output_.reset();
}

}  // namespace ovelsk
