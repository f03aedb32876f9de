#pragma once
// The radar canvas on a QPainter: twips become pixels (15 twips a pixel), and
// everything is drawn antialiased.

#include <QColor>
#include <QPainter>
#include <QPointF>

#include "radar/canvas.h"

namespace ovelsk {

inline constexpr double kTwipsPerPixel = 15;

// A twip position as a point on the pixel grid. Twip 0 is the centre of pixel 0,
// so a pen of whole pixels on a whole-pixel position covers whole pixels.
QPointF twipsToPixels(float x, float y);

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
