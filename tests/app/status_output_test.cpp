// Status lines on standard output when nobody reads them.
#include "app/status_output.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/log_capture.h"

namespace ovelsk::test {
namespace {

TEST(StatusOutput, KeepsAMegabyteForAStalledReaderDropsTheRestAndSaysSoOnceItReadsAgain) {
    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    testing::LogCapture notes;
    std::string received;
    constexpr int kLines = 20000;
    const std::string line(99, 'x');
    {
        StatusOutput output(pipe[1]);
        // Far more than the pipe and the megabyte hold; none of it may block.
        for (int i = 0; i < kLines; ++i) output.writeLine(line);
        EXPECT_EQ(notes.text(), "");
        EXPECT_GT(output.unwrittenBytes(), kMaxUnwrittenStatusBytes - 100);

        // The reader comes back.
        ASSERT_EQ(::fcntl(pipe[0], F_SETFL, O_NONBLOCK), 0);
        const auto readAll = [&] {
            char buffer[65536];
            ssize_t count;
            while ((count = ::read(pipe[0], buffer, sizeof buffer)) > 0) received.append(buffer, static_cast<size_t>(count));
        };
        const QDeadlineTimer deadline(10000);
        while (notes.text().empty() && !deadline.hasExpired()) {
            readAll();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(output.unwrittenBytes(), 0u);
        readAll();
    }
    ::close(pipe[0]);
    ::close(pipe[1]);

    ASSERT_EQ(received.size() % 100, 0u) << "only whole lines";
    const auto written = static_cast<int>(received.size() / 100);
    EXPECT_GE(written, static_cast<int>(kMaxUnwrittenStatusBytes / 100));
    EXPECT_EQ(received.substr(0, 100), line + "\n");
    EXPECT_EQ(notes.text(), std::to_string(kLines - written) +
                                " status lines were dropped while standard output was not read\n");
}

}  // namespace
}  // namespace ovelsk::test
