#pragma once
// The drawing surface the radar plots on. Coordinates are twips from the top-left
// corner of the surface, x to the right and y downward; pen widths are pixels.

#include <cstdint>

namespace ovelsk {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void setPenWidth(int pixels) = 0;
    virtual void setPenColour(Colour colour) = 0;
    // Sets the drawing position that lineTo starts from.
    virtual void moveTo(float x, float y) = 0;
    // Draws from the drawing position to (x, y), which becomes the drawing position.
    virtual void lineTo(float x, float y) = 0;
    // A filled circular dot as wide as the pen.
    virtual void plotPoint(float x, float y) = 0;
    // An outline only, drawn with the pen's width.
    virtual void circle(float x, float y, float radius) = 0;
};

}  // namespace ovelsk
