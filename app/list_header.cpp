#include "app/list_header.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace ovelsk {

ListHeader::ListHeader(const QString& text, QWidget* container) : QLabel(text, container) {}

void ListHeader::follow(QAbstractScrollArea* list) {
    connect(list->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        scrolled_ = value;
        update();
    });
}

// As QLabel paints plain text, from its indent, but moved by the list's scroll
// and not cut off at the label's width.
void ListHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = contentsRect();
    area.setLeft(area.left() + indent() - scrolled_);
    area.setWidth(fontMetrics().horizontalAdvance(text()) + 1);
    style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), text(), foregroundRole());
}

}  // namespace ovelsk
