// The candidate list as the user sees it: rows in the tracker's order, tabs
// expanded so the columns sit under the header's titles.
#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "app/tab_stops.h"
#include "form_harness.h"

namespace ovelsk::test {
namespace {

QString shownRow(QListWidget* list, int row) {
    auto* delegate = dynamic_cast<QStyledItemDelegate*>(list->itemDelegate());
    return delegate->displayText(list->item(row)->text(), QLocale());
}

TEST(CandidateListDisplay, RowsRunInTextOrderOfTheirDistance) {
    FormHarness h;
    h.start();
    h.host->deliver({"AA1AA", kInternetStreamSource, "", 3.2f});
    h.host->deliver({"BB2BB", kInternetStreamSource, "", 12.5f});
    h.host->deliver({"CC3CC", kInternetStreamSource, "", 7.0f});
    const QStringList rows = h.listRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("12.5\tBB2BB"));
    EXPECT_TRUE(rows[1].startsWith("3.2\tAA1AA"));
    EXPECT_TRUE(rows[2].startsWith("7\tCC3CC"));
}

TEST(CandidateListDisplay, ColumnsSitUnderTheHeaderTitles) {
    FormHarness h;
    h.start();
    h.control<QLineEdit>("range")->setText("2000");
    h.host->indexedList = {" N0CALL-12  " + std::string(42, ' ') + "270"};
    h.host->deliver({"N0CALL-12", kInternetStreamSource, "", 1234.5f});
    h.host->deliver({"K1AB", 1, "WIDE1-1,qAR,N0CALL", 40.0f});
    auto* list = h.control<QListWidget>("List1");
    ASSERT_EQ(list->count(), 2);

    const QString header = h.control<QLabel>("Label5")->text();
    EXPECT_EQ(header.indexOf("Callsign"), 9);
    EXPECT_EQ(header.indexOf("Last Heard"), 24);
    EXPECT_EQ(header.indexOf("Bearing"), 48);

    const QString first = shownRow(list, 0);   // 1234.5, a 9-character callsign
    const QString second = shownRow(list, 1);  // 40, a 4-character callsign
    EXPECT_EQ(first, "1234.5  N0CALL-12       Not Heard Via RF        270");
    EXPECT_EQ(second.indexOf("K1AB"), 8);
    EXPECT_EQ(second.indexOf("Not Heard Via RF"), 24);
    EXPECT_EQ(second.mid(48), "0");
    EXPECT_EQ(list->item(0)->text(), "1234.5\tN0CALL-12\tNot Heard Via RF\t270");

    // In the shared fixed-pitch face a cell is as wide in the list as in the header.
    EXPECT_EQ(expandTabs("12345678\tx\t\ty"), "12345678        x" + QString(15, ' ') + "y");

    const QFontMetrics metrics(list->font());
    EXPECT_EQ(metrics.horizontalAdvance(first.left(24)), metrics.horizontalAdvance(header.left(24)));
}

TEST(CandidateListDisplay, ARowWiderThanTheListScrollsIntoViewAndTheHeaderFollows) {
    FormHarness h;
    h.start();
    h.control<QLineEdit>("range")->setText("20000");
    h.form->show();
    // The shorter row first: the list must not size every row by the first one.
    h.host->indexedList = {" N0CALL-12  " + std::string(42, ' ') + "270"};
    h.host->deliver({"K1AB", kInternetStreamSource, "", 1.0f});
    h.host->deliver({"N0CALL-12", kInternetStreamSource, "", 12345.5f});
    auto* list = h.control<QListWidget>("List1");
    ASSERT_EQ(list->count(), 2);
    QListWidgetItem* longRow = list->item(1);
    auto* header = h.control<QLabel>("Label5");
    const QRect headerPlace = header->geometry();
    const QImage before = header->grab().toImage();

    const int rowWidth = QFontMetrics(list->font()).horizontalAdvance(shownRow(list, 1));
    EXPECT_GE(list->visualItemRect(longRow).width(), rowWidth) << "the whole row is there to scroll to";
    QScrollBar* bar = list->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the row is wider than the list";
    bar->setValue(bar->maximum());
    EXPECT_LE(list->visualItemRect(longRow).left() + rowWidth, list->viewport()->width()) << "its end in view";

    // The header's text moved left as far as the rows did; the label itself stayed.
    EXPECT_EQ(header->geometry(), headerPlace);
    const QImage after = header->grab().toImage();
    const int shift = qRound(bar->value() * after.devicePixelRatio());  // the image counts device pixels
    int differing = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x + shift < before.width(); ++x) differing += after.pixel(x, y) != before.pixel(x + shift, y);
    }
    EXPECT_EQ(differing, 0);
    EXPECT_NE(after, before);
}

}  // namespace
}  // namespace ovelsk::test
