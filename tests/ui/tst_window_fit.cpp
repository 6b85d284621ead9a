// SPDX-License-Identifier: GPL-3.0-or-later

// Windows lie within the screen's free area, frame and title bar included: the
// fit made before the window manager framed a window is corrected once the
// frame is known. The offscreen platform draws a frame around each window.
// The sizes and places themselves are the window-fit table's.
#include "platform/widgets.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Shows a window and waits until it is exposed and its frame is known.
bool showFramed(QWidget& window) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    settle();
    return window.frameGeometry() != window.geometry();
}

}  // namespace

class WindowFitTest : public QObject {
    Q_OBJECT
  private slots:
    void windowsComeWithinTheScreenOnceFramed() {
        // The main window is fitted for an assumed frame, then for its real one.
        Desk desk;
        QVERIFY2(desk.loaded && showFramed(desk.entry), "the test needs a frame");
        const QRect free = desk.entry.screen()->availableGeometry();
        QTRY_COMPARE(desk.entry.frameGeometry().topLeft(), free.topLeft());
        QVERIFY(free.contains(desk.entry.frameGeometry()));

        // A picker goes in at the top right of its owner.
        QLabel picker("Select a Class");
        placeBeside(&picker, &desk.entry);
        QVERIFY(showFramed(picker));
        QTRY_COMPARE(picker.frameGeometry().topRight(), free.topRight() + QPoint(-24, 90));
    }
};

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
