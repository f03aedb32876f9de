// The window as built: every control's name, kind, container, place, text and
// font, the focus order, the menu, and the status strip on resize.
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "form_harness.h"

namespace ovelsk::test {
namespace {

struct ExpectedControl {
    const char* name;
    const char* kind;
    const char* container;
    QRect twips;
    const char* text;  // nullptr where the control has none
};

// Left, top, width, height in twips; 15 twips make a pixel.
const ExpectedControl kControls[] = {
    {"Picture5", "QFrame", "client", {120, 3120, 2895, 495}, nullptr},
    {"radarCheck", "QCheckBox", "Picture5", {120, 120, 2655, 255}, "Enable RADAR"},
    {"Picture4", "QFrame", "client", {120, 3720, 2895, 975}, nullptr},
    {"Command1", "QPushButton", "Picture4", {120, 600, 2535, 255}, "SAVE"},
    {"range", "QLineEdit", "Picture4", {960, 120, 855, 375}, "40"},
    {"Label4", "QLabel", "Picture4", {1920, 240, 855, 255}, "Miles or Km"},
    {"Label3", "QLabel", "Picture4", {120, 120, 975, 375}, "Range"},
    {"Picture3", "QWidget", "client", {120, 0, 2895, 3015}, nullptr},
    {"Picture2", "QFrame", "client", {3120, 0, 4575, 4575}, nullptr},
    {"List1", "QListWidget", "Picture2", {120, 720, 4335, 2760}, nullptr},
    {"Label5", "QLabel", "Picture2", {120, 480, 4695, 255}, "Distance Callsign       Last Heard Via RF       Bearing"},
    {"Label1", "QLabel", "Picture2", {120, 120, 4095, 375}, "Stations within the specified range not heard via RF"},
    {"Label2", "QLabel", "Picture2", {120, 3720, 4935, 615},
     "These stations will be automatically added to the UI-View32 IGATE.INI"},
    {"Picture1", "QFrame", "client", {0, 4800, 7740, 255}, nullptr},
    {"status", "QLabel", "Picture1", {0, 0, 8775, 255}, ""},
    {"applicationDir", "QLabel", "client", {4440, 2040, 1455, 375}, "Label3"},
};

QRect pixels(QRect twips) { return {twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15}; }

QString textOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return {};
}

TEST(Form1Controls, EveryControlHasItsNameKindContainerPlaceAndText) {
    FormHarness h;
    h.build();
    for (const auto& expected : kControls) {
        SCOPED_TRACE(expected.name);
        auto* w = h.control<QWidget>(expected.name);
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), expected.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(expected.container));
        EXPECT_EQ(w->geometry(), pixels(expected.twips));
        if (expected.text) {
            EXPECT_EQ(textOf(w), QString::fromUtf8(expected.text));
        }
    }
    EXPECT_EQ(h.form->windowTitle(), "Ovelsk");
    EXPECT_FALSE(h.control<QCheckBox>("radarCheck")->isChecked());
    EXPECT_EQ(h.control<QListWidget>("List1")->count(), 0);
}

TEST(Form1Controls, WindowShowsItsClientAreaRadarCanvasAndNotTheFolderLabel) {
    FormHarness h;
    h.build();
    h.form->show();
    EXPECT_EQ(h.form->centralWidget()->size(), QSize(516, 337));
    EXPECT_FALSE(h.control<QLabel>("applicationDir")->isVisible());
    EXPECT_TRUE(h.control<QLabel>("status")->isVisible());
    auto* canvas = h.control<QWidget>("Picture3");
    EXPECT_TRUE(canvas->autoFillBackground());
    EXPECT_EQ(canvas->palette().color(QPalette::Window), QColor(Qt::black));
}

TEST(Form1Controls, FontsAreSansBoldAndLargeWhereAskedAndOneFaceOfEqualCellsForTheList) {
    FormHarness h;
    h.build();
    EXPECT_DOUBLE_EQ(h.control<QLabel>("Label4")->font().pointSizeF(), 8.25);
    EXPECT_FALSE(h.control<QLabel>("Label4")->font().bold());
    EXPECT_TRUE(h.control<QPushButton>("Command1")->font().bold());
    EXPECT_DOUBLE_EQ(h.control<QPushButton>("Command1")->font().pointSizeF(), 8.25);
    EXPECT_DOUBLE_EQ(h.control<QLineEdit>("range")->font().pointSizeF(), 12);
    EXPECT_DOUBLE_EQ(h.control<QLabel>("Label3")->font().pointSizeF(), 12);

    const QFont list = h.control<QListWidget>("List1")->font();
    const QFont header = h.control<QLabel>("Label5")->font();
    EXPECT_EQ(list, header);
    EXPECT_EQ(list.pointSize(), 9);
    // What the columns need of the face, whether or not Qt calls it fixed pitch:
    // every character a row or the header can hold is one cell wide.
    const QFontMetrics metrics(list);
    const int cell = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char c = '!'; c <= '~'; ++c) EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char(c)), cell) << c << " in " << QFontInfo(list).family().toStdString();
}

TEST(Form1Controls, FocusMovesInTheWindowsTabOrderAndLabelsNeverTakeIt) {
    FormHarness h;
    h.build();
    QStringList order;
    QWidget* w = h.control<QWidget>("Picture1");
    do {
        if (w->focusPolicy() & Qt::TabFocus && h.form->isAncestorOf(w)) order.append(w->objectName());
        w = w->nextInFocusChain();
    } while (w != h.control<QWidget>("Picture1"));
    EXPECT_EQ(order, QStringList({"Picture1", "Picture2", "List1", "Picture3", "Picture4", "range", "Picture5",
                                  "radarCheck", "Command1"}));
    for (auto* label : h.form->findChildren<QLabel*>()) EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
}

TEST(Form1Controls, FocusStartsOnTheFirstControlOfTheFocusOrder) {
    FormHarness h;
    h.build();
    h.form->show();
    EXPECT_EQ(h.form->focusWidget(), h.control<QWidget>("Picture1"));
}

TEST(Form1Controls, EnterOnTheFocusedSaveButtonSaves) {
    FormHarness h;
    h.start();
    h.control<QLineEdit>("range")->setText("25");
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        std::filesystem::remove(h.folder.path() / "Ovelsk.ini");
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(h.control<QPushButton>("Command1"), &press);
        EXPECT_EQ(h.readFile("Ovelsk.ini"), "RANGE_FILTER=25\r\n") << key;
    }
}

TEST(Form1Controls, IconFileMenuWithoutItemsAndARadarTimerRunningEvery70Ms) {
    FormHarness h;
    h.build();
    auto* menu = h.control<QMenu>("menuFile");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&File");
    EXPECT_TRUE(menu->actions().isEmpty());
    EXPECT_EQ(h.form->menuBar()->actions().size(), 1);

    // The icon is decoded beside the start-up and comes a moment later.
    QDeadlineTimer deadline(5000);
    while (h.form->windowIcon().isNull() && !deadline.hasExpired()) QCoreApplication::processEvents();
    const auto sizes = h.form->windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));

    auto* timer = h.form->findChild<QTimer*>("Timer1_radar");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 70);
    EXPECT_TRUE(timer->isActive());
}

TEST(Form1Controls, OnlyTheStatusStripFollowsAResize) {
    FormHarness h;
    h.build();
    h.form->show();
    std::vector<std::pair<QWidget*, QRect>> before;
    for (auto* w : h.form->centralWidget()->findChildren<QWidget*>()) before.emplace_back(w, w->geometry());

    h.form->resize(h.form->width() + 150, h.form->height() + 90);
    const QSize client = h.form->centralWidget()->size();
    ASSERT_EQ(client, QSize(666, 427));
    EXPECT_EQ(h.control<QWidget>("Picture1")->geometry(), QRect(0, 427 - 17, 666, 17));
    for (const auto& [w, geometry] : before) {
        if (w->objectName() != "Picture1") {
            EXPECT_EQ(w->geometry(), geometry) << w->objectName().toStdString();
        }
    }

    h.form->resize(300, 200 + h.form->menuBar()->height());
    EXPECT_EQ(h.control<QWidget>("Picture1")->geometry(), QRect(0, 200 - 17, 300, 17));

    // Shrunk that far, the status strip lies over the black radar, and paints its own background.
    const QImage shown = h.form->centralWidget()->grab().toImage();
    const QColor strip = shown.pixelColor(QPointF(150, 200 - 17 / 2).toPoint() * shown.devicePixelRatio());
    EXPECT_EQ(strip, h.control<QWidget>("Picture1")->palette().color(QPalette::Window));
}

}  // namespace
}  // namespace ovelsk::test
