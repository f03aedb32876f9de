// The candidate list as the user sees it: rows in the tracker's order, tabs
// expanded so the columns sit under the header's titles.
#include <QAbstractItemDelegate>
#include <QFontMetrics>
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

}  // namespace
}  // namespace ovelsk::test
