#pragma once
// The candidate list shows its rows in a fixed-pitch font with a tab stop every
// 8 character cells, so the columns sit under the header
// "Distance Callsign       Last Heard Via RF       Bearing".

#include <QStyledItemDelegate>

namespace ovelsk {

inline constexpr int kTabStopCells = 8;

// `text` with every tab replaced by the blanks that reach the next tab stop.
QString expandTabs(const QString& text);

// Shows each row with its tabs expanded; the row text itself is left as it is.
class TabStopDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

}  // namespace ovelsk
