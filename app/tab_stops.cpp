#include "app/tab_stops.h"

namespace ovelsk {

QString expandTabs(const QString& text) {
    QString shown;
    shown.reserve(text.size() + kTabStopCells);
    for (const QChar c : text) {
        if (c == u'\t') {
            shown.append(QString(kTabStopCells - shown.size() % kTabStopCells, u' '));
        } else {
            shown.append(c);
        }
    }
    return shown;
}

QString TabStopDelegate::displayText(const QVariant& value, const QLocale& locale) const {
    return expandTabs(QStyledItemDelegate::displayText(value, locale));
}

}  // namespace ovelsk
