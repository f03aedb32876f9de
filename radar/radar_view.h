#pragma once
// The radar surface Picture3: a black widget showing the last finished frame.
// Frames are drawn off-screen and take the place of the shown one only when whole.

#include <optional>

#include <QImage>
#include <QPainter>
#include <QWidget>

#include "radar/painter_canvas.h"
#include "radar/radar_picture.h"

namespace ovelsk {

class RadarView : public QWidget, public RadarPicture {
public:
    explicit RadarView(QWidget* parent = nullptr);
    ~RadarView() override;

    // 2895 by 3015 twips.
    QSize sizeHint() const override;

    Canvas& clear() override;
    void showFrame() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage shown_;  // null until the first frame is finished: the picture is black
    QImage drawing_;
    QPainter painter_;
    std::optional<PainterCanvas> canvas_;
};

}  // namespace ovelsk
