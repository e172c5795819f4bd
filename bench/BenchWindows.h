#pragma once

class QWidget;

// What the window benchmarks wait for before and after the work they time.
namespace bench {

// Processes events until the window is on the screen (at most 5 s).
void waitExposed(QWidget &window);
// Shows the window, waits until it is on the screen, makes it the active one when asked, and
// paints it.
void showAndPaint(QWidget &window, bool activate = false);

}  // namespace bench
