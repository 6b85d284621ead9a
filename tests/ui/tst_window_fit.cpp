// Windows lie within the screen's free area, frame and title bar included: the
// fit made before the window manager framed a window is corrected once the
// frame is known. The offscreen platform draws a frame around each window.
#include "platform/widgets.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

QRect freeArea(const QWidget& window) {
    return window.screen()->availableGeometry();
}

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
    void mainWindowFillsTheScreenBelowItsTitleBar() {
        // The first window is fitted for an assumed frame, then for its real one.
        Desk desk;
        QVERIFY(desk.loaded);
        QVERIFY2(showFramed(desk.entry), "the test needs a frame");
        const QRect free = freeArea(desk.entry);
        QTRY_COMPARE(desk.entry.frameGeometry().topLeft(), free.topLeft());
        QVERIFY(free.contains(desk.entry.frameGeometry()));
        QCOMPARE(desk.entry.frameGeometry().width(), free.width());
    }

    void grownWindowComesBackWithinTheScreen() {
        QWidget window;
        fitToScreen(&window, QSize(300, 200));
        QVERIFY(showFramed(window));
        const QRect free = freeArea(window);
        window.move(free.right() - 320, free.bottom() - 240);
        QTRY_VERIFY(free.contains(window.frameGeometry()));
        window.resize(500, 420);
        keepOnScreen(&window);
        QTRY_VERIFY(free.contains(window.frameGeometry()));
        QCOMPARE(window.size(), QSize(500, 420));
    }

    void placedBesideItsOwnerWithinTheScreen() {
        QWidget owner;
        fitToScreen(&owner, QSize(2000, 400));
        QVERIFY(showFramed(owner));
        QWidget picker;
        auto* layout = new QVBoxLayout(&picker);
        layout->addWidget(new QLabel("Select a Class"));
        layout->addWidget(new QComboBox);
        placeBeside(&picker, &owner);
        QVERIFY(showFramed(picker));
        const QRect free = freeArea(picker);
        QTRY_COMPARE(picker.frameGeometry().right(), owner.frameGeometry().right() - 24);
        QCOMPARE(picker.frameGeometry().top(), owner.frameGeometry().top() + 90);
        QVERIFY(free.contains(picker.frameGeometry()));
    }
};

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
