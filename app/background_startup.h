#pragma once
// Start-up work that needs nothing from the window is done on threads of its
// own, so the window is painted sooner.

#include <thread>

class QWidget;

namespace ovelsk {

// Reads the font configuration (fontconfig parses its XML files and maps its
// caches, the largest single cost before the first text is drawn) while Qt opens
// the display. Join it once the QApplication is made, before the window is: a
// second reader would not wait for this one but do it all again.
std::jthread readFontConfiguration();

// Decodes the window icon's pictures (Qt looks through its image plugins as it
// does) and gives them to `window` on its own thread when they are ready. The
// window keeps the thread and lets it finish before it goes.
std::jthread loadWindowIcon(QWidget* window);

}  // namespace ovelsk
