#pragma once
// The radar canvas on a QPainter: twips become pixels (15 twips a pixel), and
// everything is drawn antialiased.

#include <QColor>
#include <QPainter>
#include <QPointF>

#include "radar/canvas.h"

namespace ovelsk {

class PainterCanvas : public Canvas {
public:
    // Draws on `painter`, which must stay active while the canvas is used.
    explicit PainterCanvas(QPainter& painter);

    void setPenWidth(int pixels) override;
    void setPenColour(Colour colour) override;
    void moveTo(float x, float y) override;
    void lineTo(float x, float y) override;
    void plotPoint(float x, float y) override;
    void circle(float x, float y, float radius) override;

private:
    QPen pen() const;

    QPainter& painter_;
    int penPixels_ = 1;
    QColor penColour_ = Qt::black;
    QPointF position_;
};

}  // namespace ovelsk
