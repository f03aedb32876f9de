#include "app/message_handler.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/stat.h>

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

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (const auto line = formatLogLine(type, context.category, message, toJournal)) {
        std::fwrite(line->constData(), 1, static_cast<size_t>(line->size()), stderr);
        std::fflush(stderr);
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

}  // namespace ovelsk
