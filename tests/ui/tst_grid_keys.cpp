// SPDX-License-Identifier: GPL-3.0-or-later

// The grids by keyboard alone: leaving a grid by Tab, stamping, picking up and
// typing comment codes, rating skills and setting flags in the class grid and
// the ranges grid. Every key goes to the widget that has the keyboard. Also
// how a grid draws its cells, and what the program's style draws in bands.
#include "autofill/frm_auto_fill.h"
#include "platform/kept_text.h"
#include "platform/program_style.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// A range 80-100 with skills 4 and 0-79 with 0009 (not a favourite) in CM1.
// Favourites: 0004, 0002, a separator, 0007; row 4 is "no comment".
const QByteArray kFavourites =
    " 2 \r\n80,100,,,,4,4,4,4,4,4\r\n0,79,0009,,,3,3,3,3,3,3\r\n"
    "0004\r\n0002\r\n    \r\n0007\r\n";
const QColor kPicked(110, 150, 210);

// Row 1 empty; row 2 with 0002 in CM1; row 3 free-form; row 4 with 0005,
// which the favourites lack, in CM1.
struct KeysDesk : Desk {
    KeysDesk() : Desk({}, kFavourites) {
        open(file("k.tlc",
                  classLine("SCI3U1-01", "Ashdown", "Ivy", "301000001", "") +
                      classLine("SCI3U1-01", "Brennick", "Ivy", "301000002", "", "0002,,,,") +
                      classLine("SCI3U1-01", "Corvell", "Ivy", "301000003", "", ",,,,",
                                "G,G,G,G,G,G", "0,True,Ivy writes with flair.") +
                      classLine("SCI3U1-01", "Dellamar", "Ivy", "301000004", "", "0005,,,,")));
        activate(&entry);
    }
    bool showsRecords() const { return shownRows(grid()) == recordRows(ws, false); }
    QString codes(int student) const { return listOf(ws.students()[student].comments).join('|'); }
};

// Presses keys in turn: by name ("Right", "Ctrl+End", "Shift+F10"), or after
// a quote the characters to type ('85).
void keys(const QString& names) {
    for (const QString& name : names.split(' ')) {
        const QKeySequence key(name);
        QVERIFY2(name.startsWith('\'') || key.count() == 1, qPrintable(name));
        if (name.startsWith('\''))
            typeKeys(name.mid(1));
        else
            pressKey(key[0].key(), 0, key[0].keyboardModifiers());
    }
}

// The control with the keyboard, the current cell, the cells showing a picked-up code, the list's
// selected row.
QString where(const FlexGrid* grid, const QListWidget* list) {
    QString picked;
    for (int r = 0; r < grid->rows(); ++r)
        for (int c = 0; c < grid->cols(); ++c)
            if (grid->cellBackColor(r, c) == kPicked) picked += QString("%1,%2").arg(r).arg(c);
    const QWidget* focus = QApplication::focusWidget();
    const QListWidgetItem* chosen = list->currentItem();
    return QString("%1 %2,%3 p%4 s%5")
        .arg(focus == nullptr ? "-" : focus->objectName())
        .arg(grid->row())
        .arg(grid->col())
        .arg(picked)
        .arg(chosen != nullptr && chosen->isSelected() ? list->currentRow() : -1);
}

// Presses each step's keys and compares the state after them.
void play(const std::vector<std::pair<QString, QString>>& steps,
          const std::function<QString()>& state) {
    for (const auto& [names, expected] : steps) {
        keys(names);
        QCOMPARE(state(), expected);
    }
}

}  // namespace

class GridKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void tabLeavesTheGridAndTheCellKeysMoveWithin() {
        KeysDesk desk;
        // End and Home go to the last and first column shown, with Ctrl to the
        // last and first row; the frozen names are not entered. Tab and Ctrl+Tab
        // leave for the next control, Ctrl+Shift+Tab for the previous one, and
        // Shift+Tab comes back; the grid keeps its cell.
        QStringList seen;
        for (const char* key : {"End", "Ctrl+End", "Home", "Left", "Ctrl+Home", "PgDown", "Tab",
                                "Shift+Tab", "Ctrl+Tab", "Shift+Tab", "Ctrl+Shift+Tab"}) {
            keys(key);
            seen << where(desk.grid(), desk.ctl<QListWidget>("lstFavourites")).section(' ', 0, 1);
        }
        QCOMPARE(seen.join(", "),
                 QString("msfgClass 1,8, msfgClass 4,8, msfgClass 4,3, msfgClass 4,3, "
                         "msfgClass 1,3, msfgClass 4,3, lstFavourites 4,3, "
                         "msfgClass 4,3, lstFavourites 4,3, msfgClass 4,3, "
                         "optAutoFill 4,3"));
    }

    void commentCellsByKeyboard() {
        KeysDesk desk;
        FlexGrid* grid = desk.grid();
        const std::vector<StudentRecord> opened = desk.ws.students();
        QWidget* editor = nullptr;
        const auto state = [&] {
            return where(grid, desk.ctl<QListWidget>("lstFavourites")) + " " + desk.codes(0) + " " +
                   desk.codes(1) + " u" + QString::number(desk.undos()) +
                   (editor != nullptr && editor->isVisible() ? " open" : "") +
                   (desk.showsRecords() ? "" : " stale");
        };
        // Alt+1 to the list, an entry chosen there, Escape back to the grid.
        // Enter stamps and goes down the column; Space stamps in place; Delete
        // stamps no comment; a free-form student's cells take nothing, typed or
        // stamped. The Menu key picks up 0005, which the list lacks: it stamps
        // until Escape cancels it. Shift+F10 on a listed code selects its
        // entry, which then stamps. One undo entry each.
        play({{"Alt+1 End Up", "lstFavourites 1,3 p s3 |||| 0002|||| u0"},
              {"Esc Right Return Space", "msfgClass 2,4 p s3 0007|||| 0007|||| u2"},
              {"Del", "msfgClass 2,4 p s3 0007||||     |||| u3"},
              {"Down '4 Space", "msfgClass 3,4 p s3 0007||||     |||| u3"},
              {"Down Menu", "msfgClass 4,4 p4,4 s-1 0007||||     |||| u3"},
              {"Up Up Right Space", "msfgClass 2,5 p4,4 s-1 0007||||     |0005||| u4"},
              {"Esc", "msfgClass 2,5 p s-1 0007||||     |0005||| u4"},
              {"Up Left Shift+F10", "msfgClass 1,4 p s3 0007||||     |0005||| u4"},
              {"Right Space", "msfgClass 1,5 p s3 |0007|||     |0005||| u5"}},
             state);

        // A typed code the library holds is stamped, fewer digits padded; one it
        // lacks changes nothing and the status line says so; Escape closes the
        // editor, and so does moving away, discarding what was typed.
        keys("Right '3");
        editor = QApplication::focusWidget();
        QVERIFY(editor != grid && editor->geometry() == grid->cellGeometry(1, 6));
        play({{"Return", "msfgClass 1,6 p s3 |0007|0003||     |0005||| u6"},
              {"Right '0101 Enter '99 Return",
               "msfgClass 1,7 p s3 |0007|0003|0101|     |0005||| u7"}},
             state);
        QCOMPARE(desk.ctl("lblStatus")->text(), QString("Code 0099 is not in the phrase library."));
        play({{"'0002 Esc", "msfgClass 1,7 p s3 |0007|0003|0101|     |0005||| u7"},
              {"'1", "txtCodeEntry 1,7 p s3 |0007|0003|0101|     |0005||| u7 open"},
              {"Down", "msfgClass 2,7 p s3 |0007|0003|0101|     |0005||| u7"}},
             state);

        // Each key was one edit: undone one by one, the class is as it was opened.
        for (int i = 0; i < 7; ++i)
            keys("Ctrl+Z");
        QVERIFY(desk.ws.students() == opened && desk.showsRecords());
    }

    void skillsAndFlagsByKeyboard() {
        KeysDesk desk;
        auto& students = desk.ws.students();
        const auto state = [&] {
            QString flags;
            for (const StudentRecord& s : students)
                flags += toQString(s.iep + s.esl + s.eld) + ",";
            return QString("%1 %2 %3 %4 u%5")
                .arg(desk.grid()->textMatrix(1, 3), listOf(students[0].skills).join(""), flags)
                .arg(desk.grid()->cellForeColor(1, 9) == Qt::red ? "red" : "black")
                .arg(desk.undos());
        };
        // A mark of 85 fills the skills from 80-100, in red. Space and
        // Shift+Space step as the buttons; a rating's digit or letter sets it,
        // other keys do nothing; one undo entry each; the cell turns black.
        // Space toggles a flag; on ESL Ctrl+Shift+Space sets it for everyone,
        // which clears every ELD, and Ctrl+Space clears it, with no undo entry.
        play({{"'85 Return", "85 444444 ,,,, red u1"}}, state);
        play({{"Ctrl+K Up Right Space Shift+Space", "85 444444 ,,,, black u3"},
              {"'n", "85 144444 ,,,, black u4"},
              {"'G", "85 344444 ,,,, black u5"},
              {"'2 'x '5", "85 244444 ,,,, black u6"},
              {"End Left Left Left Space", "85 244444 Y,,,, black u7"}},
             state);
        desk.ws.doc.clickFlag(3, Flag::Eld);
        play({{"Right Ctrl+Shift+Space", "85 244444 YY,Y,Y,Y, black u8"},
              {"Ctrl+Space", "85 244444 Y,,,, black u8"}},
             state);
        QVERIFY(desk.showsRecords() && desk.grid()->cellForeColor(1, 10) == Qt::red);
    }

    void rangeGridByKeyboard() {
        KeysDesk desk;
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        QVERIFY(w != nullptr);
        activate(w);
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto& ranges = desk.ws.doc.ranges();
        const std::vector<InitialValueRange> opened = ranges;
        const auto state = [&] {
            QString text = where(grid, control<QListWidget>(w, "lstFavourites"));
            for (const InitialValueRange& r : ranges)
                text += " " + listOf(r.codes).join('|') + " " + listOf(r.skills).join("");
            return text + " " + grid->textMatrix(2, 5);
        };
        clickCell(grid, 1, 0);  // a Low cell: the range's CM1 is current, nothing stamped
        // A picked code (the keyboard in the grid or in the list), the list
        // and the code editor take Escape before the window, which leaves on
        // it. Space stamps; Enter in the next code cell moves the code there
        // and goes down; Delete stamps no comment; the Menu key picks up 0009.
        // Skills: Space and Shift+Space step, a rating's key sets.
        play({{"Alt+1 End Home Esc", "msfgClass 1,2 p s0 || 444444 0009|| 333333 3"},
              {"Space Right Return", "msfgClass 2,3 p s0 |0004| 444444 0009|| 333333 3"},
              {"Del", "msfgClass 2,3 p s0 |0004| 444444 0009|    | 333333 3"},
              {"Left Menu", "msfgClass 2,2 p2,2 s-1 |0004| 444444 0009|    | 333333 3"},
              {"Alt+1 Esc", "lstFavourites 2,2 p s-1 |0004| 444444 0009|    | 333333 3"},
              {"Esc", "msfgClass 2,2 p s-1 |0004| 444444 0009|    | 333333 3"},
              {"Right Right '7 Return '0099 Return",
               "msfgClass 2,4 p s-1 |0004| 444444 0009|    |0007 333333 3"},
              {"'1 Esc", "msfgClass 2,4 p s-1 |0004| 444444 0009|    |0007 333333 3"},
              {"Right Space Shift+Space Shift+Space 's",
               "msfgClass 2,5 p s-1 |0004| 444444 0009|    |0007 233333 2"}},
             state);
        // A code the library lacks is said in a message box; each edit is undone
        // on its own.
        QCOMPARE(desk.prompts.messages(), QStringList{"Code 0099 is not in the phrase library."});
        auto* undo = control<QPushButton>(w, "cmdUndo");
        for (int i = 0; i < 8; ++i)
            click(undo);
        QVERIFY(ranges == opened && !undo->isEnabled());
    }

    void cellsAreDrawnWithTheirOwnColoursAndTexts() {
        // A frozen column with a block of two rows merged, a cell with its own
        // background, one with its own text colour and an empty one.
        FlexGrid grid;
        grid.setCols(3);
        grid.setFixedCols(1);
        grid.addItems({{"Name", "Mark", "Note"},
                       {"Ashdown", "85", "late"},
                       {"Ashdown", "", "WWWW"},
                       {"Brennick", "70", ""}});
        grid.mergeColumns(1);
        const QColor red(200, 40, 40);
        const QColor blue(0, 0, 255);
        grid.setCellBackColor(1, 1, red);
        grid.setCellForeColor(2, 2, blue);
        grid.resize(420, 220);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QImage shot = grid.grab().toImage();
        const qreal scale = shot.devicePixelRatio();
        // The colours inside a cell, its grid lines left out.
        const auto colours = [&](QRect cell) {
            cell.adjust(2, 2, -2, -2);
            QSet<QRgb> seen;
            for (int y = qCeil(cell.top() * scale); y < qFloor(cell.bottom() * scale); ++y)
                for (int x = qCeil(cell.left() * scale); x < qFloor(cell.right() * scale); ++x)
                    seen.insert(shot.pixel(x, y) | 0xff000000u);
            return seen;
        };
        const auto hasInk = [](const QSet<QRgb>& seen, const QColor& back) {
            return std::any_of(seen.begin(), seen.end(),
                               [&back](QRgb c) { return c != back.rgb(); });
        };
        const QColor button = grid.palette().color(QPalette::Button);
        QVERIFY(colours(grid.cellGeometry(1, 1)).contains(red.rgb()));
        QVERIFY(hasInk(colours(grid.cellGeometry(1, 1)), red));
        QCOMPARE(colours(grid.cellGeometry(3, 2)), QSet<QRgb>{QColor(Qt::white).rgb()});
        const QSet<QRgb> note = colours(grid.cellGeometry(2, 2));
        QVERIFY(std::any_of(note.begin(), note.end(), [](QRgb c) {
            return qBlue(c) > 150 && qRed(c) < 100 && qGreen(c) < 100;
        }));
        // The merged name shows once, at the top of its block, on the frozen
        // columns' own colour.
        const QRect block = grid.cellGeometry(1, 0);
        const int rowHeight = grid.cellGeometry(3, 0).height();
        QVERIFY(block.height() >= 2 * rowHeight);
        const QRect top(block.left(), block.top(), block.width(), rowHeight);
        const QRect below(block.left(), block.top() + rowHeight, block.width(),
                          block.height() - rowHeight);
        QVERIFY(colours(top).contains(button.rgb()));
        QVERIFY(hasInk(colours(top), button));
        QCOMPARE(colours(below), QSet<QRgb>{button.rgb()});
    }

    void keptTextsDrawnAsThePainterDrawsThem() {
        // Each text drawn by the painter, then twice with its line kept (laid
        // out, then taken from what was kept), in cells that hold it, cut it
        // at the right or cut it at the top and bottom.
        const QStringList texts{"ENG2D1-01",
                                "Zoë Ōtake-Łukasz",
                                "A comment line, long enough to run past a narrow cell's edge.",
                                "  blanks around  ",
                                "mixed שלום text",
                                "tab\tand\nbreak",
                                "WAVE fi fl ffi"};
        QFont bold("Liberation Sans", 8);
        bold.setBold(true);
        QFont underlined("Liberation Sans", 9);
        underlined.setUnderline(true);
        const QList<QFont> fonts{QFont("Liberation Sans", 8), bold, QFont("DejaVu Serif", 11),
                                 underlined};
        const QList<QRect> cells{QRect(3, 2, 400, 18), QRect(4, 3, 40, 17), QRect(2, 5, 300, 9),
                                 QRect(1, 1, 120, 31)};
        for (const QFont& font : fonts) {
            for (const QString& text : texts) {
                for (const QRect& cell : cells) {
                    for (const int align : {int(Qt::AlignTop), int(Qt::AlignVCenter)}) {
                        const int flags = Qt::TextSingleLine | Qt::AlignLeft | align;
                        const auto drawn = [&](bool keptLine) {
                            QImage image(420, 40, QImage::Format_ARGB32_Premultiplied);
                            image.fill(Qt::white);
                            QPainter painter(&image);
                            painter.setFont(font);
                            if (keptLine) {
                                drawKeptText(&painter, cell, flags, text);
                            } else {
                                painter.drawText(cell, flags, text);
                            }
                            return image;
                        };
                        const QImage painted = drawn(false);
                        QVERIFY2(drawn(true) == painted && drawn(true) == painted,
                                 qPrintable(QString("%1 in %2 at %3,%4 %5x%6, flags %7")
                                                .arg(text, font.key())
                                                .arg(cell.x())
                                                .arg(cell.y())
                                                .arg(cell.width())
                                                .arg(cell.height())
                                                .arg(flags, 0, 16)));
                    }
                }
            }
        }
    }

    void listItemsWithKeptTextsDrawnAsTheStyleDrawsThem() {
        // A favourites-like list, items wider than their texts as the lists
        // size them, one current and selected, drawn by the style's own item
        // painter and with kept texts, scrolled across, narrowed and disabled.
        QListWidget list;
        QFont font = list.font();
        font.setPointSize(10);
        list.setFont(font);
        for (int i = 0; i < 40; ++i) {
            auto* item = new QListWidgetItem(
                i % 7 == 3
                    ? QString("           ---------------")
                    : QString("%1 @ has shown Zoë's ﬁne work, and a long phrase %2 to scroll")
                          .arg(1000 + i)
                          .arg(QString(i % 5, 'x')));
            item->setSizeHint(QSize(i == 5 ? 60 : 620, list.fontMetrics().height() + 2));
            list.addItem(item);
        }
        list.resize(300, 260);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
        list.setCurrentRow(2);
        auto* styleItems = new QStyledItemDelegate(&list);
        auto* keptItems = new KeptTextItems(&list);
        for (const int across : {0, 55, 400}) {
            for (const bool enabled : {true, false}) {
                list.horizontalScrollBar()->setValue(across);
                list.setEnabled(enabled);
                list.setItemDelegate(styleItems);
                const QImage styled = list.grab().toImage();
                list.setItemDelegate(keptItems);
                const QImage kept = list.grab().toImage();
                const QImage keptAgain = list.grab().toImage();
                QVERIFY2(kept == styled && keptAgain == styled,
                         qPrintable(QString("across %1, enabled %2").arg(across).arg(enabled)));
            }
        }
    }

    void gridDrawnAsTheToolkitDrewIt() {
        // A long grid with frozen columns, merged blocks in and out of them, a
        // hidden column, colours and the current cell, drawn by the cells'
        // own lines and by the table view's grid, scrolled every way. The first
        // row begins no block: the table view let its row lines show through
        // the left edge of such a block.
        FlexGrid grid;
        grid.setCols(7);
        QList<QStringList> rows{{"Course", "Name", "Mark", "Comment", "Hidden", "RE", "Note"}};
        for (int i = 0; i < 60; ++i) {
            const QString student = i == 0 ? "First" : QString("Student %1").arg(i / 3);
            const QString course = i == 0 ? "ENG2D1-00" : i < 30 ? "ENG2D1-01" : "ENG2D1-02";
            rows.append({course, student, QString::number(50 + i / 3),
                         QString("Comment line %1 of a student, long enough to scroll").arg(i), "x",
                         i % 2 == 0 ? "G" : "S", i % 5 == 0 ? "" : "note"});
        }
        grid.addItems(rows);
        grid.setColWidth(4, 0);
        grid.mergeColumns(3);
        grid.setCellBackColor(4, 2, QColor(200, 40, 40));
        grid.setCellForeColor(5, 3, QColor(0, 0, 255));
        grid.resize(360, 260);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setFocus();
        grid.setCurrentIndex(grid.model()->index(6, 5));
        auto* frozen = grid.findChild<QTableView*>("frozenColumns");
        QVERIFY(frozen != nullptr);
        const auto drawn = [&](bool viewLines) {
            grid.setShowGrid(viewLines);
            frozen->setShowGrid(viewLines);
            return grid.grab().toImage();
        };
        const auto firstDifference = [](const QImage& a, const QImage& b) {
            if (a.size() != b.size()) return QString("sizes differ");
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    if (a.pixel(x, y) != b.pixel(x, y))
                        return QString("at %1,%2: %3 for %4")
                            .arg(x)
                            .arg(y)
                            .arg(a.pixel(x, y), 0, 16)
                            .arg(b.pixel(x, y), 0, 16);
            return QString();
        };
        for (const int fixedCols : {0, 2}) {
            grid.setFixedCols(fixedCols);
            for (const int down : {0, 4, 200}) {
                for (const int across : {0, 37, 1000}) {
                    grid.verticalScrollBar()->setValue(down);
                    grid.horizontalScrollBar()->setValue(across);
                    const QImage own = drawn(false);
                    const QImage table = drawn(true);
                    QVERIFY2(own == table, qPrintable(QString("fixed %1, down %2, across %3: %4")
                                                          .arg(fixedCols)
                                                          .arg(down)
                                                          .arg(across)
                                                          .arg(firstDifference(own, table))));
                }
            }
        }
        // Its scroll bars copied from the first drawing of each look, as the
        // program draws them, and drawn by Fusion itself: the same pixels,
        // also after a scroll, when disabled and narrowed.
        const auto plainStyle = [] { return QStyleFactory::create("Fusion"); };
        for (const int down : {0, 4, 0, 30}) {
            for (const bool enabled : {true, false}) {
                grid.verticalScrollBar()->setValue(down);
                grid.setEnabled(enabled);
                QApplication::setStyle(new ProgramStyle(plainStyle()));
                const QImage copied = grid.grab().toImage();
                const QImage copiedAgain = grid.grab().toImage();
                QApplication::setStyle(plainStyle());
                const QImage plain = grid.grab().toImage();
                QVERIFY2(copied == plain && copiedAgain == plain,
                         qPrintable(QString("down %1, enabled %2: %3 %4")
                                        .arg(down)
                                        .arg(enabled)
                                        .arg(firstDifference(copied, plain))
                                        .arg(firstDifference(copiedAgain, plain))));
            }
            grid.resize(grid.width() - 40, grid.height());
        }
        grid.setEnabled(true);
        // A standard icon is the style's own, looked up once.
        ProgramStyle kept(plainStyle());
        const auto fusion = std::unique_ptr<QStyle>(plainStyle());
        for (const auto icon : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ArrowUp,
                                QStyle::SP_MessageBoxWarning}) {
            const QIcon first = kept.standardIcon(icon);
            QCOMPARE(kept.standardIcon(icon).cacheKey(), first.cacheKey());
            QCOMPARE(first.pixmap(16).toImage(), fusion->standardIcon(icon).pixmap(16).toImage());
        }
        QVERIFY(kept.standardIcon(QStyle::SP_ArrowUp).cacheKey() !=
                kept.standardIcon(QStyle::SP_ArrowDown).cacheKey());
        // A cell's place on screen is within its lines either way.
        const QRect within = grid.cellGeometry(7, 5);
        grid.setShowGrid(false);
        QCOMPARE(grid.cellGeometry(7, 5), within);
        QVERIFY(!grid.showGrid());
    }

    void groupFramesDrawnInBandsAsFusionDrawsThem() {
        // Tall and short, titled and not, in a window drawn whole and in part.
        QWidget window;
        auto* layout = new QHBoxLayout(&window);
        auto* titled = new QGroupBox("Search Criteria: Select All That Apply", &window);
        auto* plainFrame = new QGroupBox(&window);
        auto* shortFrame = new QGroupBox("Keyword Search", &window);
        shortFrame->setFixedHeight(50);
        for (QGroupBox* box : {titled, plainFrame, shortFrame}) {
            new QVBoxLayout(box);
            box->layout()->addWidget(new QLabel("Grade/Stream", box));
            layout->addWidget(box, 0, box == shortFrame ? Qt::AlignTop : Qt::Alignment());
        }
        window.resize(520, 331);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto plainStyle = [] { return QStyleFactory::create("Fusion"); };
        for (const QRect part : {QRect(), QRect(0, 37, 300, 200)}) {
            QApplication::setStyle(new ProgramStyle(plainStyle()));
            const QImage banded = window.grab(part.isNull() ? window.rect() : part).toImage();
            QApplication::setStyle(plainStyle());
            const QImage fusion = window.grab(part.isNull() ? window.rect() : part).toImage();
            QVERIFY(banded == fusion);
        }
    }
};

QTEST_MAIN(GridKeysTest)
#include "tst_grid_keys.moc"
