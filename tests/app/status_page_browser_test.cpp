// The status page in a real browser: the program runs the demo with the page
// on, headless Chromium loads it, and the page it renders shows the feed, the
// rows of Ovelsk's block in igate.ini and the radar. A second feed is a replay
// file whose name is markup, which must show as text. Skipped only where no
// headless Chromium is installed.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/program_with_settings.h"

namespace ovelsk::test {
namespace {

constexpr char kHostileName[] = "<img src=x onerror=alert(1)>.txt";

QString headlessChromium() {
    for (const char* name : {"chromium-headless-shell", "chromium", "google-chrome"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!found.isEmpty()) return found;
    }
    return {};
}

std::uint16_t freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// The lines of Ovelsk's block in igate.ini text.
std::string ovelskBlock(const std::string& igate) {
    const std::string start = ";Ovelsk IGATE Section - Start\r\n", end = ";Ovelsk IGATE Section - End";
    const auto from = igate.find(start);
    if (from == std::string::npos) return {};
    std::string block = igate.substr(from + start.size(), igate.find(end) - from - start.size());
    std::erase(block, '\r');
    if (!block.empty()) block.pop_back();  // the last line's end
    return block;
}

// Runs the browser on `url` with `arguments`; its standard output.
std::string browse(const QString& browser, const QStringList& arguments, const QString& url) {
    QProcess chromium;
    chromium.start(browser, QStringList{"--headless", "--no-sandbox", "--disable-gpu", "--virtual-time-budget=5000"} +
                                arguments + QStringList{url});
    EXPECT_TRUE(chromium.waitForFinished(60'000)) << chromium.readAllStandardError().toStdString();
    return chromium.readAllStandardOutput().toStdString();
}

TEST(StatusPageInBrowser, ShowsTheFeedTheListAndTheRadar) {
    const QString browser = headlessChromium();
    if (browser.isEmpty()) GTEST_SKIP() << "no headless Chromium installed (apt install chromium-headless-shell)";

    testing::ScratchFolder home;
    std::filesystem::create_directories(home / "host");
    testing::writeFile(home / "host" / "igate.ini", "[INET_TO_RF]\r\n");
    testing::writeFile(home / kHostileName, "2026-12-08T10:00:00Z IS N0CALL>APRS:>status\n");
    const auto port = freePort();
    QProcess ovelsk;
    testing::startOvelsk(ovelsk, home,
                         "[UI-View32]\nProgram Folder=" + (home / "host").string() +
                             "/\nLatitude=40.015\nLongitude=-105.2705\nFeeds=demo, replay:" +
                             (home / kHostileName).string() + "\nReplay Speed=4\nStatus Page=127.0.0.1:" +
                             std::to_string(port) + "\n");
    // Once an Internet station is on the status line, igate.ini has a block.
    ASSERT_TRUE(testing::waitForStatusLine(ovelsk, " Via Internet Stream"));
    const QString url = QStringLiteral("http://127.0.0.1:%1/").arg(port);

    // The demo goes on playing: the page is compared with igate.ini as it was
    // before and after the browser read it, unchanged in between.
    std::string dom, igate;
    for (int attempt = 0; attempt < 5; ++attempt) {
        igate = testing::readFile(home / "host" / "igate.ini");
        dom = browse(browser, {"--dump-dom"}, url);
        if (igate == testing::readFile(home / "host" / "igate.ini")) break;
    }
    const std::string shot = (home / "page.png").string();
    browse(browser, {"--window-size=1200,1600", "--screenshot=" + QString::fromStdString(shot)}, url);
    ::kill(static_cast<pid_t>(ovelsk.processId()), SIGTERM);
    ovelsk.waitForFinished();

    EXPECT_THAT(dom, ::testing::HasSubstr("<td>demo</td><td>demo</td><td class=\"playing\">playing</td>"));
    const std::string block = ovelskBlock(igate);
    ASSERT_FALSE(block.empty()) << igate;
    EXPECT_THAT(dom, ::testing::HasSubstr("<pre id=\"candidates\">" + block + "</pre>"));
    EXPECT_THAT(dom, ::testing::HasSubstr("<img id=\"radar\" src=\"/radar.png?t="));
    // The file's name is shown as the text it is, not taken as an element.
    EXPECT_THAT(dom, ::testing::HasSubstr("&lt;img src=x onerror=alert(1)&gt;.txt"));
    EXPECT_THAT(dom, ::testing::Not(::testing::HasSubstr("<img src=\"x\"")));

    // The radar's sweep green (0, 160, 0) is drawn nowhere else on the page.
    const QImage page(QString::fromStdString(shot));
    ASSERT_FALSE(page.isNull());
    int green = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) == qRgb(0, 160, 0)) ++green;
    EXPECT_GT(green, 20) << "no radar on the page";
}

}  // namespace
}  // namespace ovelsk::test
