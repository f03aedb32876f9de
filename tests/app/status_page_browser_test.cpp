// The status page in a real browser: the program runs the demo with the page
// on, headless Chromium loads it, and the page it renders shows the feed, the
// rows of Ovelsk's block in igate.ini and the radar, and lays its sections out
// without overlap from a phone's width to a wide screen's. A second feed is a
// replay file whose name is markup, which must show as text; two more fail,
// one with an error too long for a phone's line. Skipped only where no
// headless Chromium is installed.
#include <QImage>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTcpServer>
#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "app/devtools_pipe.h"
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

// Shown once the page has drawn an answer of the program's: every feed, the
// two failing ones with their errors, the stations and the radar.
constexpr char kRendered[] = R"(
    document.getElementById("updated").textContent.startsWith("Updated") &&
    document.querySelectorAll("#feeds tbody tr").length === 4 &&
    document.querySelectorAll("#feeds td.retrying").length === 2 &&
    document.querySelectorAll("#stations tbody tr").length > 0 &&
    document.getElementById("radar").src.includes("?t=") &&
    document.getElementById("radar").complete && document.getElementById("radar").naturalWidth > 0)";

// What the layout gets wrong, as a list of texts: the header and the sections
// overlap each other, or a table, cell, image or other box reaches outside its
// section without a box that scrolls between them, or the page scrolls sideways.
constexpr char kLayoutFaults[] = R"((() => {
    const faults = [];
    const name = (e) => e.tagName.toLowerCase() + (e.id ? "#" + e.id : " '" + e.textContent.replace(/\s+/g, " ").trim().slice(0, 30) + "'");
    const scrolls = (e) => ["auto", "scroll"].includes(getComputedStyle(e).overflowX);
    const overlap = (a, b) => Math.min(a.right, b.right) - Math.max(a.left, b.left) > 0.5 &&
                              Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top) > 0.5;
    const sections = [...document.querySelectorAll("body > header, main > section")];
    sections.forEach((a, i) => sections.slice(i + 1).forEach((b) => {
        if (overlap(a.getBoundingClientRect(), b.getBoundingClientRect())) faults.push(name(a) + " overlaps " + name(b));
    }));
    for (const section of sections) {
        const outer = section.getBoundingClientRect();
        for (const e of section.querySelectorAll("*")) {
            let parent = e.parentElement;
            while (parent !== section && !scrolls(parent)) parent = parent.parentElement;
            if (parent !== section) continue;  // judged by the box that scrolls it
            const inner = e.getBoundingClientRect();
            if (inner.left < outer.left - 0.5 || inner.right > outer.right + 0.5 ||
                inner.top < outer.top - 0.5 || inner.bottom > outer.bottom + 0.5)
                faults.push(name(e) + " reaches outside " + name(section));
        }
    }
    const page = document.documentElement;
    if (page.scrollWidth > page.clientWidth) faults.push("the page scrolls sideways: " + page.scrollWidth + " px");
    return faults;
})())";

class StatusPageInBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        const QString chromium = headlessChromium();
        if (chromium.isEmpty()) GTEST_SKIP() << "no headless Chromium installed (apt install chromium-headless-shell)";

        std::filesystem::create_directories(home_ / "host");
        testing::writeFile(home_ / "host" / "igate.ini", "[INET_TO_RF]\r\n");
        testing::writeFile(home_ / kHostileName, "2026-12-08T10:00:00Z IS N0CALL>APRS:>status\n");
        const auto port = freePort();
        auto refusing = freePort();
        while (refusing == port) refusing = freePort();
        const std::string failing = ", kiss:127.0.0.1:" + std::to_string(refusing) + ", kiss-serial:" +
                                    (home_ / "a-tnc-on-a-serial-port-that-is-not-plugged-in-and-has-a-long-name").string();
        testing::startOvelsk(ovelsk_, home_,
                             "[UI-View32]\nProgram Folder=" + (home_ / "host").string() +
                                 "/\nLatitude=40.015\nLongitude=-105.2705\nFeeds=demo, replay:" +
                                 (home_ / kHostileName).string() + failing + "\nReplay Speed=4\nStatus Page=127.0.0.1:" +
                                 std::to_string(port) + "\n");
        // Once an Internet station is on the status line, igate.ini has a block.
        ASSERT_TRUE(testing::waitForStatusLine(ovelsk_, " Via Internet Stream"));
        url_ = QStringLiteral("http://127.0.0.1:%1/").arg(port);
        browser_.emplace(chromium, home_ / "profile");
    }

    void TearDown() override {
        browser_.reset();
        if (ovelsk_.state() == QProcess::Running) ::kill(static_cast<pid_t>(ovelsk_.processId()), SIGTERM);
        ovelsk_.waitForFinished();
    }

    // Loads the page in a window `width` pixels wide and waits until it is drawn.
    bool load(int width, int height) {
        browser_->page("Emulation.setDeviceMetricsOverride",
                       {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}});
        browser_->page("Page.navigate", {{"url", url_}});
        // A few seconds at a time, as the page's script may go with the page it
        // ran in; the limit is for a machine that is busy with much else.
        const QString waiting = QStringLiteral(
            "new Promise((done) => { const until = Date.now() + 5000; (function check() {"
            " let met = false; try { met = Boolean(%1); } catch (error) {}"
            " if (met || Date.now() > until) done(met); else setTimeout(check, 50); })(); })").arg(kRendered);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (browser_->running() && std::chrono::steady_clock::now() < deadline)
            if (browser_->evaluate(waiting) == QJsonValue(true)) return true;
        ADD_FAILURE() << "the page was not drawn at " << width << " px: " << browser_->lastError().toStdString();
        return false;
    }

    testing::ScratchFolder home_;
    QProcess ovelsk_;
    QString url_;
    std::optional<testing::DevToolsPipe> browser_;
};

TEST_F(StatusPageInBrowser, ShowsTheFeedTheListAndTheRadar) {
    // The demo goes on playing: the page is compared with igate.ini as it was
    // before and after the browser read it, unchanged in between.
    std::string dom, igate;
    for (int attempt = 0; attempt < 5; ++attempt) {
        igate = testing::readFile(home_ / "host" / "igate.ini");
        ASSERT_TRUE(load(1200, 1600));
        dom = browser_->evaluate("document.documentElement.outerHTML").toString().toStdString();
        if (igate == testing::readFile(home_ / "host" / "igate.ini")) break;
    }
    const QByteArray shot = QByteArray::fromBase64(
        browser_->page("Page.captureScreenshot", {{"format", "png"}})["data"].toString().toLatin1());

    EXPECT_THAT(dom, ::testing::HasSubstr("<td>demo</td><td>demo</td><td class=\"playing\">playing</td>"));
    const std::string block = ovelskBlock(igate);
    ASSERT_FALSE(block.empty()) << igate;
    EXPECT_THAT(dom, ::testing::HasSubstr("<pre id=\"candidates\">" + block + "</pre>"));
    EXPECT_THAT(dom, ::testing::HasSubstr("<img id=\"radar\" src=\"/radar.png?t="));
    // The file's name is shown as the text it is, not taken as an element.
    EXPECT_THAT(dom, ::testing::HasSubstr("&lt;img src=x onerror=alert(1)&gt;.txt"));
    EXPECT_THAT(dom, ::testing::Not(::testing::HasSubstr("<img src=\"x\"")));

    // The radar's sweep green (0, 160, 0) is drawn nowhere else on the page.
    const QImage page = QImage::fromData(shot, "PNG");
    ASSERT_FALSE(page.isNull());
    int green = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixel(x, y) == qRgb(0, 160, 0)) ++green;
    EXPECT_GT(green, 20) << "no radar on the page";
}

// A phone, a laptop and a wide screen, with the failing feeds' errors shown.
TEST_F(StatusPageInBrowser, KeepsEachSectionInItsOwnBoxAtEveryWidth) {
    for (const int width : {360, 1280, 1920}) {
        ASSERT_TRUE(load(width, 1000));
        const QJsonValue faults = browser_->evaluate(kLayoutFaults);
        ASSERT_TRUE(faults.isArray()) << browser_->lastError().toStdString();
        EXPECT_EQ(faults.toVariant().toStringList().join(u'\n').toStdString(), "") << width << " px";
    }
}

}  // namespace
}  // namespace ovelsk::test
