// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAccessible>
#include <QColor>
#include <QRect>
#include <QString>
#include <QTableView>
#include <functional>
#include <optional>
#include <utility>

namespace tl {

class Announcer;
class GridModel;

// A grid in the program's own coordinates: row 0 is the fixed header row,
// which stays in view while scrolling; the first fixedCols columns are frozen
// at the left. Widths are in pixels, and a width of 0 hides a column. The
// grid raises leaveCell and enterCell whenever the current cell changes, also
// when the program moves it, before the call that moved it returns.
//
// The cells live in a model of the grid's own (texts and colours in one flat
// table), so that a grid of thousands of cells fills without an object per cell.
class FlexGrid : public QTableView {
    Q_OBJECT
  public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Rows in the program's count: the header row plus the data rows.
    int rows() const;
    void setCols(int cols);
    int cols() const;
    void setFixedCols(int cols);

    // Removes every row and the header texts.
    void clearGrid();
    // Appends a row from tab-separated texts; the first row added is the header.
    void addItem(const QString& tabSeparated);
    // Appends rows from their cell texts as addItem does one by one, telling
    // the views once. The texts move into the grid: pass them with std::move
    // to spare copying each.
    void addItems(QList<QStringList> texts);
    // Inserts an empty data row that becomes row `row` (1 to rows()); the rows
    // from there move down.
    void insertRow(int row);
    // Removes data row `row`; the rows below move up.
    void removeRow(int row);

    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    // Widths in pixels at 96 dots per inch (twips / 15).
    void setColWidth(int col, int width);
    int colWidth(int col) const;
    // Widens a column, to no less than minimum, until its widest text fits whole.
    void fitColWidthToText(int col, int minimum);

    QColor cellBackColor(int row, int col) const;
    void setCellBackColor(int row, int col, const QColor& color);
    QColor cellForeColor(int row, int col) const;
    void setCellForeColor(int row, int col, const QColor& color);
    // Left and vertically centred, or left and at the top for the first cell
    // of a merged block.
    Qt::Alignment cellAlignment(int row, int col) const;

    // Colour of the area outside the cells.
    void setBackColorBkg(const QColor& color);
    QColor backColorBkg() const;

    // The current cell; row 1 is the first data row.
    int row() const { return row_; }
    int col() const { return col_; }
    // Makes (row, col) current, raising leaveCell before and enterCell after.
    void setCurrentCell(int row, int col);

    // The cell under the mouse at the last mouse event (-1 outside the cells).
    int mouseRow() const { return mouseRow_; }
    int mouseCol() const { return mouseCol_; }
    // The cell at a point of the grid widget.
    void hitTest(const QPoint& widgetPos, int& row, int& col) const;
    // The cell's rectangle in the grid widget's coordinates.
    QRect cellGeometry(int row, int col) const;
    // Names each data row for screen readers: the texts of these columns,
    // joined by separator, are the row's header in the table interface (the
    // header row's texts are the columns' headers, the cells' texts their names).
    void setRowHeaderCols(const QList<int>& cols, const QString& separator);
    // The columns' names as a screen reader says them ("Mark", "Comment 1"),
    // in place of the header row's texts.
    void setSpokenColumnNames(const QStringList& names);
    // What a cell's value means, which a screen reader says after it (a
    // comment code's phrase, a rating's word); an empty cell is "blank".
    void setCellMeaning(std::function<QString(int row, int col)> meaning);
    // A cell as a screen reader says it: its text, then its meaning.
    QString spokenName(int row, int col) const;
    QString meaning(int row, int col) const;
    // Has a screen reader on the grid say a cell as it reads now (after an
    // edit of it), or a text (the outcome of a command), once the events of
    // the key that did it are handled.
    void announceCell(int row, int col);
    void announce(const QString& text);

    // Merges equal neighbouring cells of the first cols columns down the rows;
    // a cell merges only where the cells to its left merge too.
    void mergeColumns(int cols);

    // The left edge of a column, in the grid widget's coordinates as the mouse
    // events give them (scrolling included).
    int colLeft(int col) const;
    // Scrolls a cell into view, clear of the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

  signals:
    void enterCell();
    void leaveCell();
    void mouseUp(Qt::MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void click();
    // A typed character while the grid has the focus.
    void keyPress(int charCode);
    // What the grid told a screen reader: a focus event with the current
    // cell's name, or (Alert) a text it has said.
    void toldScreenReader(QAccessible::Event type, const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    friend class GridModel;
    QColor defaultBack(int row, int col) const;
    int widestText(int col) const;
    void trackMouse(const QPoint& viewportPos);
    void updateFrozen();
    void repaintCell(int row, int col);
    void tellScreenReaderLater();
    void tellCell(QAccessible::Event type, int row, int col);
    int pixels(int designWidth) const;
    void pressAt(const QPoint& widgetPos, Qt::MouseButton button);
    void releaseAt(const QPoint& widgetPos, Qt::MouseButton button);

    GridModel* cells_;
    QTableView* frozen_;
    std::function<QString(int, int)> meaning_;
    QString announcement_;  // to be said once the key's events are handled
    Announcer* announcer_ = nullptr;
    QList<std::pair<int, int>> announcedCells_;  // changed cells to be said
    bool focusCellPending_ = false;
    bool tellPending_ = false;
    int fixedCols_ = 0;
    int mergedCols_ = 0;
    int row_ = 0;
    int col_ = 0;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    QList<int> widths_;
    bool headerSet_ = false;
};

}  // namespace tl
