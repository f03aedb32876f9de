#pragma once
// Picture3 as the sweep tick uses it: wiped before every frame, and showing a frame
// only once it is whole, so the user never sees one half drawn.

#include "radar/canvas.h"

namespace ovelsk {

class RadarPicture {
public:
    virtual ~RadarPicture() = default;
    // Erases the picture and returns the canvas the next frame is drawn on; the
    // canvas stays valid until showFrame().
    virtual Canvas& clear() = 0;
    // Everything drawn since clear() is the new frame: show it in place of the last.
    virtual void showFrame() = 0;
};

}  // namespace ovelsk
