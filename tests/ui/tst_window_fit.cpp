// SPDX-License-Identifier: GPL-3.0-or-later

// Windows lie within the screen's free area, frame and title bar included: the
// fit made before the window manager framed a window is corrected once the
// frame is known. The offscreen platform draws a frame around each window.
// The sizes and places themselves are the window-fit table's. Drop-down lists
// that keep their measures give what Qt measures for their items.
#include <QStringListModel>

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

    void keptCombosMeasureAsQtMeasuresTheirItems() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* kept = new KeptSizeCombo(&window);
        auto* twin = new KeptSizeCombo(&window);  // shares what the first measured
        for (QComboBox* combo : {kept, twin}) {
            layout->addWidget(combo);
            combo->addItems({"All", "Grade 9 Academic", "Grade 12 University"});
        }
        // What Qt measures for the same items and settings in a list made afresh.
        const auto same = [&](const char* step) {
            QComboBox plain(&window);
            plain.setFont(kept->font());
            plain.setMinimumContentsLength(kept->minimumContentsLength());
            for (int i = 0; i < kept->count(); ++i)
                plain.addItem(kept->itemText(i));
            for (const QComboBox* combo : {kept, twin}) {
                if (combo->sizeHint() != plain.sizeHint() ||
                    combo->minimumSizeHint() != plain.minimumSizeHint()) {
                    qWarning() << step << combo->sizeHint() << plain.sizeHint()
                               << combo->minimumSizeHint() << plain.minimumSizeHint();
                    return false;
                }
            }
            return true;
        };
        const auto both = [&](const std::function<void(QComboBox*)>& change) {
            change(kept);
            change(twin);
        };
        QVERIFY(same("filled"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(same("shown"));
        both([](QComboBox* c) { c->setItemText(1, "Grade 11 College Preparation, Workplace"); });
        QVERIFY(same("a text changed in place"));
        both([](QComboBox* c) { c->addItem("Open"); });
        QVERIFY(same("an item added"));
        both([](QComboBox* c) { c->removeItem(1); });
        QVERIFY(same("an item removed"));
        QFont larger = kept->font();
        larger.setPointSize(larger.pointSize() * 2);
        both([&](QComboBox* c) { c->setFont(larger); });
        QVERIFY(same("a larger font"));
        both([](QComboBox* c) { c->setMinimumContentsLength(40); });
        QVERIFY(same("a minimum length"));
        both([](QComboBox* c) {
            c->setModel(new QStringListModel({"Elsewhere", "Grade 10 Applied"}, c));
        });
        QVERIFY(same("another model"));
        both([](QComboBox* c) { c->setItemText(0, "Grade 10 Locally Developed Compulsory"); });
        QVERIFY(same("a text changed in the other model"));
    }
};

QTEST_MAIN(WindowFitTest)
#include "tst_window_fit.moc"
