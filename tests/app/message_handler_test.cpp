// The one message handler: levels for the journal, Qt's platform chatter left out.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "app/message_handler.h"

namespace ovelsk::test {
namespace {

struct Case {
    QtMsgType type;
    const char* category;
    const char* message;
    bool journal;
    std::optional<QByteArray> line;
};

TEST(MessageHandler, WritesOneLineWithTheJournalPriorityAndLeavesOutPlatformChatter) {
    const Case cases[] = {
        {QtWarningMsg, "ovelsk.feeds", "aprs-is rotate.aprs2.net: refused", true,
         "<4>ovelsk.feeds: warning: aprs-is rotate.aprs2.net: refused\n"},
        {QtCriticalMsg, "ovelsk.settings", "bad", true, "<3>ovelsk.settings: error: bad\n"},
        {QtInfoMsg, "ovelsk.decode", "decoded 3, dropped 0", true, "<6>ovelsk.decode: decoded 3, dropped 0\n"},
        {QtDebugMsg, "ovelsk.decode", "drop", true, "<7>ovelsk.decode: drop\n"},
        {QtInfoMsg, "ovelsk.decode", "decoded 3, dropped 0", false, "ovelsk.decode: decoded 3, dropped 0\n"},
        {QtWarningMsg, "default", "two\nlines", false, "warning: two lines\n"},
        {QtWarningMsg, "default", "This plugin does not support propagateSizeHints()", true, std::nullopt},
        {QtWarningMsg, "default", "QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'", false,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_EQ(formatLogLine(c.type, c.category, QString::fromUtf8(c.message), c.journal), c.line);
    }
}

TEST(MessageHandler, TakesStandardErrorForTheJournalOnlyWhenJournalStreamNamesIt) {
    struct stat info {};
    ASSERT_EQ(::fstat(2, &info), 0);
    const std::string ours = std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    for (const auto& [value, journal] : {std::pair{ours, true}, std::pair{std::string("1:2"), false},
                                         std::pair{std::string("nonsense"), false}}) {
        ::setenv("JOURNAL_STREAM", value.c_str(), 1);
        EXPECT_EQ(standardErrorIsJournal(), journal) << value;
    }
    ::unsetenv("JOURNAL_STREAM");
    EXPECT_FALSE(standardErrorIsJournal());
}

TEST(MessageHandler, NotesToAStandardErrorNobodyReadsAreDroppedWithACountInsteadOfWaiting) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ::unsetenv("JOURNAL_STREAM");
    const QtMessageHandler previous = qInstallMessageHandler(nullptr);
    installMessageHandler();
    const std::string note(90, 'x');
    std::string received;
    {
        const NotesWithoutWaiting notes(pipe[1]);
        // Far more than the pipe and the writer's megabyte hold; a blocking write never returns.
        for (int i = 0; i < 20000; ++i) qWarning("%s", note.c_str());
        ASSERT_EQ(::fcntl(pipe[0], F_SETFL, O_NONBLOCK), 0);
        for (const QDeadlineTimer deadline(10000); received.find("dropped") == std::string::npos && !deadline.hasExpired();) {
            char buffer[65536];
            for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;) received.append(buffer, static_cast<size_t>(n));
            QCoreApplication::processEvents();
        }
    }
    qInstallMessageHandler(previous);
    ::close(pipe[0]);
    ::close(pipe[1]);
    const std::string line = "warning: " + note + "\n";
    const auto written = received.rfind(line) / line.size() + 1;
    EXPECT_EQ(received.substr(written * line.size()), "ovelsk.app: warning: " + std::to_string(20000 - written) +
                                                          " notes were dropped while standard error was not read\n");
}

}  // namespace
}  // namespace ovelsk::test
