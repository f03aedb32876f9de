// Start-up in its order, and what the window shows before and after the first beacon.
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>
#include <gtest/gtest.h>

#include "app/headless_run.h"
#include "form_harness.h"

namespace ovelsk::test {
namespace {

TEST(Form1Startup, WithoutSettingsFileShowsDefaultsAndCreatesNoFile) {
    FormHarness h;
    h.start();
    EXPECT_EQ(h.range(), "40");
    EXPECT_EQ(h.status(), "v1.0.0");
    EXPECT_EQ(h.statusLines, std::vector<QString>{"v1.0.0"});
    EXPECT_TRUE(h.listRows().isEmpty());
    EXPECT_FALSE(h.control<QCheckBox>("radarCheck")->isChecked());
    EXPECT_EQ(h.control<QLabel>("applicationDir")->text().toStdString(), h.folder.path().string());
    EXPECT_FALSE(std::filesystem::exists(h.folder.path() / "Ovelsk.ini"));
    EXPECT_DOUBLE_EQ(h.form->neverHeard(), h.clock.now() - 7200);
}

TEST(Form1Startup, LoadsTheRangeAndGuardsZeroBeforeTheHostExistsThenSwitchesTheHostOn) {
    FormHarness h;
    h.writeFile("Ovelsk.ini", "RANGE_FILTER=0\r\n");
    QString rangeWhenHostMade, statusWhenHostMade, folderWhenHostMade;
    h.start([&] {
        rangeWhenHostMade = h.range();
        statusWhenHostMade = h.status();
        folderWhenHostMade = h.control<QLabel>("applicationDir")->text();
    });
    EXPECT_EQ(rangeWhenHostMade, "1");
    EXPECT_EQ(statusWhenHostMade, "v1.0.0");
    EXPECT_EQ(folderWhenHostMade.toStdString(), h.folder.path().string());
    EXPECT_EQ(h.rangeGivenToHost, 1.0f);
    EXPECT_TRUE(h.host->enabled);
}

// Without the window the same start-up runs with no widget and no radar timer:
// an idle iGate sleeps.
TEST(Form1Startup, HeadlessTheSameStartUpRunsWithoutAWidgetOrARadarTimer) {
    FormHarness h;
    h.writeFile("Ovelsk.ini", "RANGE_FILTER=0\r\n");
    std::vector<std::string> lines;
    HeadlessRun run(h.options(), [&lines](const std::string& line) { lines.push_back(line); });
    ASSERT_EQ(run.start(), std::nullopt);
    EXPECT_EQ(h.rangeGivenToHost, 1.0f) << "the range box's rule holds without the box";
    EXPECT_TRUE(h.host->enabled);
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 0.5f});
    EXPECT_EQ(lines, (std::vector<std::string>{"v1.0.0", "N0CALL-9 Via Internet Stream"}));
    EXPECT_EQ(run.companion().tracker()->candidateRows(), std::vector<std::string>{"0.5\tN0CALL-9\tNot Heard Via RF\t0"});
    EXPECT_TRUE(QApplication::allWidgets().isEmpty());
    const auto timers = run.companion().findChildren<QTimer*>();
    ASSERT_EQ(timers.size(), 1);
    EXPECT_EQ(timers.front()->objectName(), "expiryTimer");
}

TEST(Form1Startup, ARangeThatIsNotANumberGivesTheHostTheBoxsFirstRange) {
    FormHarness h;
    h.writeFile("Ovelsk.ini", "RANGE_FILTER=abc\r\n");
    h.start();
    EXPECT_EQ(h.range(), "abc");
    EXPECT_EQ(h.rangeGivenToHost, 40.0f);
}

TEST(Form1Startup, AMinuteTimerExpiresStationsWhenNoBeaconComes) {
    FormHarness h;
    h.start();
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 12.5f});
    ASSERT_EQ(h.listRows().size(), 1);

    auto* timer = h.form->companion().findChild<QTimer*>(QStringLiteral("expiryTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60 * 1000);
    h.clock.advanceMinutes(61);
    QTimerEvent tick(timer->timerId());
    QCoreApplication::sendEvent(timer, &tick);
    EXPECT_TRUE(h.listRows().isEmpty());
}

TEST(Form1Startup, BeaconsReachTheTrackerAndEveryStatusLineIsAnnouncedEvenWhenRepeated) {
    FormHarness h;
    h.start();
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 12.5f});
    h.host->deliver({"N0CALL-9", kInternetStreamSource, "TCPIP*", 12.5f});
    EXPECT_EQ(h.status(), "N0CALL-9 Via Internet Stream");
    EXPECT_EQ(h.statusLines, (std::vector<QString>{"v1.0.0", "N0CALL-9 Via Internet Stream",
                                                   "N0CALL-9 Via Internet Stream"}));
    EXPECT_EQ(h.listRows(), QStringList{"12.5\tN0CALL-9\tNot Heard Via RF\t0"});
    ASSERT_NE(h.form->tracker(), nullptr);
    EXPECT_EQ(h.form->tracker()->table()[0].callsign, "N0CALL-9");
}

TEST(Form1Startup, StatusLineShowsTextAsWrittenNeverAsMarkup) {
    FormHarness h;
    h.start();
    h.form->setStatus("<b>N0CALL</b> Via RF");
    EXPECT_EQ(h.control<QLabel>("status")->textFormat(), Qt::PlainText);
    EXPECT_EQ(h.status(), "<b>N0CALL</b> Via RF");
}

}  // namespace
}  // namespace ovelsk::test
