#pragma once
// The candidate list's column header. A row can be wider than the list (a long
// distance, a long callsign); the list then scrolls sideways, and the header's
// text follows it, so the titles stay above their columns. The label itself
// keeps its place and size.

#include <QLabel>

class QAbstractScrollArea;

namespace ovelsk {

class ListHeader final : public QLabel {
public:
    ListHeader(const QString& text, QWidget* container);

    // Shifts the text left by the list's sideways scroll from now on.
    void follow(QAbstractScrollArea* list);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int scrolled_ = 0;
};

}  // namespace ovelsk
