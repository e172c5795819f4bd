#include "bench/BenchWindows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>

namespace bench {

void waitExposed(QWidget &window)
{
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void showAndPaint(QWidget &window, bool activate)
{
    window.show();
    waitExposed(window);
    if (activate)
        QApplication::setActiveWindow(&window);
    window.repaint();
}

}  // namespace bench
