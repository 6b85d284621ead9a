// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/flex_grid.h"

#include "platform/accessibility.h"
#include "platform/kept_text.h"

#include <QAbstractTableModel>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

namespace tl {

namespace {
constexpr int kRowHeight = 18;  // 270 twips, for the 8-point grid font at 96 dots per inch

// Draws a cell as the grid needs it: its colour, its text on one line with
// the item's alignment, and the focus frame of the current cell. Much cheaper
// than the general item delegate, which a grid of hundreds of cells redraws
// on every change.
class CellPainter : public QStyledItemDelegate {
  public:
    // covered: whether a column lies under the frozen columns' view, which
    // draws those cells instead.
    CellPainter(QObject* parent, const GridModel* cells, std::function<bool(int)> covered = {})
        : QStyledItemDelegate(parent), cells_(cells), covered_(std::move(covered)) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    const GridModel* cells_;
    std::function<bool(int)> covered_;
};

// The frozen columns' view only draws: a screen reader knows the grid as one
// table, so this view sends no events of its own (the toolkit's table view
// would announce every move of the shared current cell a second time).
class FrozenView : public QTableView {
  public:
    using QTableView::QTableView;

  protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override {
        QAbstractItemView::currentChanged(current, previous);
    }
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override {
        QAbstractItemView::selectionChanged(selected, deselected);
    }
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override {
        Q_UNUSED(roles);
        if (topLeft == bottomRight) {
            update(topLeft);
        } else {
            viewport()->update();
        }
    }
};

// What a screen reader finds of the frozen view, should it ask: nothing.
class HiddenAccessible : public QAccessibleWidget {
  public:
    explicit HiddenAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::NoRole) {}
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = true;
        return s;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* hiddenViewAccessible(const QString& key, QObject* object) {
    Q_UNUSED(key);
    if (object == nullptr || object->objectName() != QLatin1String("frozenColumns")) return nullptr;
    auto* view = dynamic_cast<FrozenView*>(object);
    return view != nullptr ? new HiddenAccessible(view) : nullptr;
}
}  // namespace

// The cells of a grid in its own coordinates: row 0 holds the header texts,
// rows 1 and on the data rows, which the views see as their rows 0 and on.
class GridModel : public QAbstractTableModel {
  public:
    struct Cell {
        QString text;
        QRgb back = 0;  // with ownBack; otherwise the grid's default for the cell
        QRgb fore = 0;  // with ownFore; otherwise black
        bool ownBack = false;
        bool ownFore = false;
        bool top = false;  // the first cell of a merged block, aligned at the top
    };

    explicit GridModel(FlexGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : rows_;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : cols_;
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int row = index.row() + 1;
        const Cell& cell = at(row, index.column());
        switch (role) {
            case Qt::DisplayRole:
                return cell.text;
            case Qt::BackgroundRole:
                return QBrush(backOf(row, index.column()));
            case Qt::ForegroundRole:
                return QBrush(foreOf(cell));
            case Qt::TextAlignmentRole:
                return cell.top ? QVariant(int(Qt::AlignLeft | Qt::AlignTop)) : QVariant();
            case Qt::AccessibleTextRole:
                return grid_->spokenName(row, index.column());
            case Qt::AccessibleDescriptionRole:
                return grid_->meaning(row, index.column());
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && section >= 0 && section < rows_ &&
            (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
            return rowHeader(section + 1);
        if (orientation != Qt::Horizontal || section < 0 || section >= cols_)
            return QAbstractTableModel::headerData(section, orientation, role);
        const Cell& cell = at(0, section);
        switch (role) {
            case Qt::DisplayRole:
                return cell.text;
            case Qt::AccessibleTextRole:
                return section < spokenCols_.size() ? spokenCols_[section] : cell.text.trimmed();
            case Qt::BackgroundRole:
                return cell.ownBack ? QVariant(QBrush(QColor::fromRgba(cell.back))) : QVariant();
            case Qt::ForegroundRole:
                return cell.ownFore ? QVariant(QBrush(QColor::fromRgba(cell.fore))) : QVariant();
            default:
                return {};
        }
    }

    // A data cell's colours, as the views draw them.
    QColor backOf(int row, int col) const {
        const Cell& cell = at(row, col);
        return cell.ownBack ? QColor::fromRgba(cell.back) : grid_->defaultBack(row, col);
    }
    static QColor foreOf(const Cell& cell) {
        return cell.ownFore ? QColor::fromRgba(cell.fore) : QColor(Qt::black);
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool holds(int row, int col) const {
        return row >= 0 && row <= rows_ && col >= 0 && col < cols_;
    }
    Cell& at(int row, int col) { return cells_[std::size_t(row) * cols_ + col]; }
    const Cell& at(int row, int col) const { return cells_[std::size_t(row) * cols_ + col]; }

    // Tells the views that a cell changed.
    void changed(int row, int col) {
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, col, col);
        } else {
            const QModelIndex i = index(row - 1, col);
            emit dataChanged(i, i);
        }
    }

    // Tells the views that a cell's text changed, and with it its row's header.
    void textChanged(int row, int col) {
        changed(row, col);
        if (row > 0 && headerCols_.contains(col))
            emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
    }

    void setRowHeaderCols(const QList<int>& cols, const QString& separator) {
        headerCols_ = cols;
        separator_ = separator;
        if (rows_ > 0) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }

    void setSpokenColumnNames(const QStringList& names) {
        spokenCols_ = names;
        if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }

    // A data row's header: its texts in the header columns.
    QString rowHeader(int row) const {
        QStringList texts;
        for (const int col : headerCols_) {
            if (col < 0 || col >= cols_) continue;
            const QString text = at(row, col).text.trimmed();
            if (!text.isEmpty()) texts << text;
        }
        return texts.join(separator_);
    }

    void setColumns(int cols) {
        if (cols == cols_) return;
        const bool wider = cols > cols_;
        if (wider) {
            beginInsertColumns({}, cols_, cols - 1);
        } else {
            beginRemoveColumns({}, cols, cols_ - 1);
        }
        std::vector<Cell> resized(std::size_t(rows_ + 1) * cols);
        for (int r = 0; r <= rows_; ++r)
            for (int c = 0; c < std::min(cols, cols_); ++c)
                resized[std::size_t(r) * cols + c] = std::move(at(r, c));
        cells_ = std::move(resized);
        cols_ = cols;
        if (wider) {
            endInsertColumns();
        } else {
            endRemoveColumns();
        }
    }

    void setRow(int row, const QStringList& texts) {
        for (int c = 0; c < cols_; ++c)
            at(row, c).text = c < texts.size() ? texts[c] : QString();
    }
    void setRow(int row, QStringList&& texts) {
        for (int c = 0; c < cols_; ++c)
            at(row, c).text = c < texts.size() ? std::move(texts[c]) : QString();
    }

    void setHeader(const QStringList& texts) {
        setRow(0, texts);
        if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }

    void appendRows(QList<QStringList>& texts, qsizetype first) {
        const int count = static_cast<int>(texts.size() - first);
        beginInsertRows({}, rows_, rows_ + count - 1);
        cells_.resize(cells_.size() + std::size_t(count) * cols_);
        for (qsizetype i = first; i < texts.size(); ++i)
            setRow(++rows_, std::move(texts[i]));
        endInsertRows();
    }

    // An empty row becomes grid row `row` (1 to rows_ + 1).
    void insertRowAt(int row) {
        beginInsertRows({}, row - 1, row - 1);
        cells_.insert(cells_.begin() + std::ptrdiff_t(row) * cols_, std::size_t(cols_), Cell{});
        ++rows_;
        endInsertRows();
    }

    void removeRowAt(int row) {
        beginRemoveRows({}, row - 1, row - 1);
        const auto first = cells_.begin() + std::ptrdiff_t(row) * cols_;
        cells_.erase(first, first + cols_);
        --rows_;
        endRemoveRows();
    }

    // No data rows, and a header without texts or colours.
    void clear() {
        if (rows_ > 0) {
            beginRemoveRows({}, 0, rows_ - 1);
            cells_.resize(std::size_t(cols_));
            rows_ = 0;
            endRemoveRows();
        }
        std::fill(cells_.begin(), cells_.end(), Cell{});
        if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    }

    void alignmentsChanged() {
        if (rows_ > 0 && cols_ > 0)
            emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1), {Qt::TextAlignmentRole});
    }

  private:
    const FlexGrid* grid_;
    int rows_ = 0;
    int cols_ = 0;
    std::vector<Cell> cells_;  // (rows_ + 1) * cols_, row by row
    QList<int> headerCols_;    // the columns that name a row
    QString separator_;
    QStringList spokenCols_;  // the columns' names for a screen reader
};

namespace {
// The cells are read straight from the grid's table: a cell drawn through the
// model's roles would build and unpack four values for each.
void CellPainter::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
    if (covered_ && covered_(index.column())) return;
    const int row = index.row() + 1;
    const int col = index.column();
    if (!cells_->holds(row, col)) return;
    const GridModel::Cell& cell = cells_->at(row, col);
    // Without the view's grid each cell draws its own lines, on its right and
    // bottom edges, where the view would draw them: a line of the view is
    // drawn pixel by pixel, a cell's edge is filled at once.
    const auto* view = qobject_cast<const QTableView*>(option.widget);
    const bool ownLines = view != nullptr && !view->showGrid();
    const QRect rect = ownLines ? option.rect.adjusted(0, 0, -1, -1) : option.rect;
    painter->fillRect(rect, cells_->backOf(row, col));
    if (!cell.text.isEmpty()) {
        painter->setPen(GridModel::foreOf(cell));
        const int flags =
            cell.top ? int(Qt::AlignLeft | Qt::AlignTop) : int(Qt::AlignLeft | Qt::AlignVCenter);
        const QWidget* widget = option.widget;
        const int margin = (widget != nullptr ? widget->style()->pixelMetric(
                                                    QStyle::PM_FocusFrameHMargin, nullptr, widget)
                                              : 2) +
                           1;
        if (painter->font() != option.font) painter->setFont(option.font);
        drawKeptText(painter, rect.adjusted(margin, 0, 0, 0), flags | Qt::TextSingleLine,
                     cell.text);
    }
    if (option.state & QStyle::State_HasFocus) {
        // The current cell of the grid with the keyboard.
        painter->setPen(option.palette.color(QPalette::Highlight));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
    }
    if (!ownLines) return;
    const QColor line = QColor::fromRgba(
        static_cast<QRgb>(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view)));
    const QRect& all = option.rect;
    painter->fillRect(all.right(), all.top(), 1, all.height(), line);
    painter->fillRect(all.left(), all.bottom(), all.width(), 1, line);
}
}  // namespace

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent), cells_(new GridModel(this)), frozen_(nullptr) {
    static const bool hidden = [] {
        QAccessible::installFactory(hiddenViewAccessible);
        return true;
    }();
    Q_UNUSED(hidden);
    frozen_ = new FrozenView(this);
    announcer_ = new Announcer(this);
    frozen_->setObjectName("frozenColumns");
    setModel(cells_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    // The cells draw the grid's lines.
    setShowGrid(false);
    // Tab and Shift+Tab leave the grid for the next control; the arrows,
    // Home, End and the page keys move between the cells.
    setTabKeyNavigation(false);
    setItemDelegate(new CellPainter(
        this, cells_, [this](int col) { return col < fixedCols_ && !frozen_->isHidden(); }));
    QFont gridFont("MS Sans Serif");
    gridFont.setPointSize(8);
    setFont(gridFont);
    // Rows grow with a larger font so that brackets and descenders are not cut.
    const int rowHeight = std::max(kRowHeight, QFontMetrics(gridFont).height() + 5);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->viewport()->installEventFilter(this);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    horizontalHeader()->viewport()->setMouseTracking(true);

    // The frozen columns: a second view over the same cells, laid over the
    // left edge, which scrolls only vertically.
    frozen_->setModel(cells_);
    QItemSelectionModel* own = frozen_->selectionModel();
    frozen_->setSelectionModel(selectionModel());
    delete own;
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setAttribute(Qt::WA_TransparentForMouseEvents);
    frozen_->verticalHeader()->hide();
    frozen_->verticalHeader()->setMinimumSectionSize(8);
    frozen_->verticalHeader()->setDefaultSectionSize(rowHeight);
    frozen_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->horizontalHeader()->setMinimumSectionSize(0);
    frozen_->horizontalHeader()->setHighlightSections(false);
    frozen_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    frozen_->setWordWrap(false);
    frozen_->setItemDelegate(new CellPainter(frozen_, cells_));
    frozen_->setTextElideMode(Qt::ElideNone);
    frozen_->setFont(gridFont);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setShowGrid(false);
    // Its header and cells cover it whole, so that what lies beneath it is not drawn.
    frozen_->setAttribute(Qt::WA_OpaquePaintEvent);
    frozen_->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
}

int FlexGrid::rows() const {
    return cells_->rows() + 1;
}

int FlexGrid::cols() const {
    return cells_->cols();
}

void FlexGrid::setCols(int cols) {
    cells_->setColumns(std::max(0, cols));
    while (widths_.size() < cells_->cols())
        widths_.append(horizontalHeader()->defaultSectionSize());
    while (widths_.size() > cells_->cols())
        widths_.removeLast();
    updateFrozen();
}

void FlexGrid::setFixedCols(int cols) {
    const bool changed = cols != fixedCols_;
    fixedCols_ = cols;
    // The merges of the frozen columns move to their own view.
    if (changed && mergedCols_ > 0) mergeColumns(mergedCols_);
    updateFrozen();
    // The frozen cells take their own default colour.
    viewport()->update();
    frozen_->viewport()->update();
}

void FlexGrid::clearGrid() {
    clearSpans();
    frozen_->clearSpans();
    mergedCols_ = 0;
    cells_->clear();
    headerSet_ = false;
    row_ = 0;
    col_ = 0;
}

void FlexGrid::addItem(const QString& tabSeparated) {
    addItems({tabSeparated.split('\t')});
}

void FlexGrid::addItems(QList<QStringList> texts) {
    qsizetype first = 0;
    if (!headerSet_ && !texts.isEmpty()) {
        cells_->setHeader(texts.front());
        headerSet_ = true;
        first = 1;
    }
    if (first == texts.size()) return;
    const bool wasEmpty = cells_->rows() == 0;
    cells_->appendRows(texts, first);
    if (wasEmpty && cols() > 0) {
        // The first data row becomes current, as in a freshly filled grid.
        row_ = 1;
        col_ = std::min(fixedCols_, cols() - 1);
        QSignalBlocker block(this);
        setCurrentIndex(cells_->index(0, col_));
    }
}

void FlexGrid::insertRow(int row) {
    if (row < 1 || row > rows()) return;
    cells_->insertRowAt(row);
}

void FlexGrid::removeRow(int row) {
    if (row < 1 || row >= rows()) return;
    cells_->removeRowAt(row);
    row_ = std::min(row_, cells_->rows());
}

void FlexGrid::setRowHeaderCols(const QList<int>& cols, const QString& separator) {
    cells_->setRowHeaderCols(cols, separator);
}

void FlexGrid::setSpokenColumnNames(const QStringList& names) {
    cells_->setSpokenColumnNames(names);
}

void FlexGrid::setCellMeaning(std::function<QString(int row, int col)> meaning) {
    meaning_ = std::move(meaning);
}

QString FlexGrid::meaning(int row, int col) const {
    const QString said = meaning_ ? meaning_(row, col) : QString();
    if (said.isEmpty() && textMatrix(row, col).trimmed().isEmpty()) return QStringLiteral("blank");
    return said;
}

QString FlexGrid::spokenName(int row, int col) const {
    const QString text = textMatrix(row, col).trimmed();
    const QString said = meaning_ ? meaning_(row, col) : QString();
    if (text.isEmpty()) return said.isEmpty() ? QStringLiteral("blank") : said;
    return said.isEmpty() ? text : text + ", " + said;
}

void FlexGrid::announceCell(int row, int col) {
    if (!screenReaderListening()) return;
    announcedCells_.append({row, col});
    tellScreenReaderLater();
}

void FlexGrid::announce(const QString& text) {
    if (!screenReaderListening() || text.isEmpty()) return;
    if (!announcement_.isEmpty()) announcement_ += ". ";
    announcement_ += text;
    tellScreenReaderLater();
}

void FlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // One focus event per move, for the cell, while the grid has the keyboard
    // (the toolkit's table sends it also while a dialog or an editor has it).
    QAbstractItemView::currentChanged(current, previous);
    if (current.isValid() && hasFocus() && screenReaderListening())
        tellCell(QAccessible::Focus, current.row() + 1, current.column());
}

void FlexGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    // The toolkit names the table as focused; the current cell is, once it has.
    focusCellPending_ = true;
    tellScreenReaderLater();
}

void FlexGrid::tellCell(QAccessible::Event type, int row, int col) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);

    if (table == nullptr || table->tableInterface() == nullptr) return;
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row - 1, col);
    if (cell == nullptr) return;
    QAccessibleEvent event(this, type);
    event.setChild(table->indexOfChild(cell));
    QAccessible::updateAccessibility(&event);
    emit toldScreenReader(type,
                          type == QAccessible::Focus ? spokenName(row, col) : meaning(row, col));
}

void FlexGrid::tellScreenReaderLater() {
    if (tellPending_ || !screenReaderListening()) return;
    tellPending_ = true;
    QTimer::singleShot(0, this, [this] {
        tellPending_ = false;
        QString text = std::exchange(announcement_, QString());
        const bool focusCell = std::exchange(focusCellPending_, false);
        // A changed cell says its new value; one the keyboard is not on
        // (a mark stored as Enter moved down) also whose and which it is.
        for (const auto& [row, col] : std::exchange(announcedCells_, {})) {
            if (!cells_->holds(row, col) || row < 1) continue;
            QString said = spokenName(row, col);
            if (row != row_ || col != col_) {
                said = cells_->rowHeader(row) + ", " +
                       cells_->headerData(col, Qt::Horizontal, Qt::AccessibleTextRole).toString() +
                       ", " + said;
            }
            text = text.isEmpty() ? said : said + ". " + text;
        }
        if (focusCell && hasFocus() && cells_->holds(row_, col_) && row_ >= 1)
            tellCell(QAccessible::Focus, row_, col_);
        if (text.isEmpty()) return;
        // Said also while a menu that ran the command is still closing.
        announcer_->say(text);
        emit toldScreenReader(QAccessible::Alert, text);
    });
}

void FlexGrid::mergeColumns(int cols) {
    clearSpans();
    frozen_->clearSpans();
    mergedCols_ = cols;
    const int rows = cells_->rows();
    const int allCols = this->cols();
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < allCols; ++c)
            cells_->at(r, c).top = false;
    std::vector<bool> startsRun(static_cast<std::size_t>(rows), false);
    if (!startsRun.empty()) startsRun[0] = true;
    for (int c = 0; c < std::min(cols, this->cols()); ++c) {
        std::vector<bool> starts(startsRun.size(), true);
        for (int r = 1; r < rows; ++r)
            starts[r] = startsRun[r] || cells_->at(r + 1, c).text != cells_->at(r, c).text;
        for (int r = 0; r < rows;) {
            int end = r + 1;
            while (end < rows && !starts[end])
                ++end;
            if (end - r > 1) {
                // The frozen columns are seen through their own view, which alone
                // holds their merges.
                QTableView* view = c < fixedCols_ ? frozen_ : this;
                view->setSpan(r, c, end - r, 1);
                // At the top, where it is in view when the block begins.
                cells_->at(r + 1, c).top = true;
            }
            r = end;
        }
        startsRun = starts;
    }
    cells_->alignmentsChanged();
}

QColor FlexGrid::defaultBack(int row, int col) const {
    return row == 0 || col < fixedCols_ ? palette().color(QPalette::Button) : QColor(Qt::white);
}

QString FlexGrid::textMatrix(int row, int col) const {
    return cells_->holds(row, col) ? cells_->at(row, col).text : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (!cells_->holds(row, col) || cells_->at(row, col).text == text) return;
    cells_->at(row, col).text = text;
    cells_->textChanged(row, col);
}

void FlexGrid::setColWidth(int col, int width) {
    if (col < 0 || col >= cols()) return;
    widths_[col] = width;
    setColumnHidden(col, width == 0);
    if (width > 0) setColumnWidth(col, pixels(width));
    updateFrozen();
}

int FlexGrid::pixels(int designWidth) const {
    // Widths are given for 96 dots per inch; a screen set to more widens them
    // with the font.
    return qRound(designWidth * std::max(1.0, logicalDpiX() / 96.0));
}

void FlexGrid::fitColWidthToText(int col, int minimum) {
    if (col < 0 || col >= cols()) return;
    const int widest = widestText(col);
    // The cell's text margin on both sides, and a pixel to spare.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const double scale = pixels(1000) / 1000.0;
    const int needed = static_cast<int>(std::ceil((widest + margin + 1) / scale));
    setColWidth(col, std::max(minimum, needed));
}

int FlexGrid::widestText(int col) const {
    // Measuring a text shapes it, which is slow for a column of a thousand
    // lines. The sums of the characters' own advances rank the texts, and only
    // those that could be the widest are measured.
    const QFontMetrics metrics(font());
    const QFontMetricsF advances(font());
    // Advances in 64ths of a pixel: whole numbers add up without waiting on
    // each other, as floating-point sums do.
    std::array<qint64, 256> latin;
    latin.fill(-1);
    const auto advanceOf = [&advances](char16_t ch) {
        return static_cast<qint64>(std::lround(advances.horizontalAdvance(QChar(ch)) * 64));
    };
    struct Ranked {
        qreal estimate;
        int row;
    };
    const GridModel& cells = *cells_;
    std::vector<Ranked> ranked;
    for (int r = 1; r < rows(); ++r) {
        const QString& text = cells.at(r, col).text;
        // A text that repeats the row above (a merged block) is ranked once.
        if (r > 1 && text == cells.at(r - 1, col).text) continue;
        qint64 sum = 0;
        for (const QChar each : text) {
            const char16_t ch = each.unicode();
            if (ch >= latin.size()) {
                sum += advanceOf(ch);
                continue;
            }
            qint64& known = latin[ch];
            if (known < 0) known = advanceOf(ch);
            sum += known;
        }
        if (sum > 0) ranked.push_back({sum / 64.0, r});
    }
    std::sort(ranked.begin(), ranked.end(),
              [](const Ranked& a, const Ranked& b) { return a.estimate > b.estimate; });
    // Kerning, ligatures and rounding move a text a few pixels from its estimate;
    // should one move further, every text is measured.
    const qreal slack = std::max(4, metrics.averageCharWidth());
    bool measureAll = false;
    int widest = 0;
    QSet<QString> measured;
    for (const Ranked& text : ranked) {
        if (!measureAll && text.estimate + slack < widest) break;
        const QString& shown = cells.at(text.row, col).text;
        if (measured.contains(shown)) continue;
        measured.insert(shown);
        const int width = metrics.horizontalAdvance(shown);
        if (std::abs(width - text.estimate) > slack) measureAll = true;
        widest = std::max(widest, width);
    }
    return widest;
}

int FlexGrid::colLeft(int col) const {
    return viewport()->mapTo(this, QPoint(columnViewportPosition(col), 0)).x();
}

int FlexGrid::colWidth(int col) const {
    return col >= 0 && col < widths_.size() ? widths_[col] : 0;
}

QColor FlexGrid::cellBackColor(int row, int col) const {
    if (!cells_->holds(row, col) || !cells_->at(row, col).ownBack) return defaultBack(row, col);
    return QColor::fromRgba(cells_->at(row, col).back);
}

void FlexGrid::setCellBackColor(int row, int col, const QColor& color) {
    if (!cells_->holds(row, col)) return;
    GridModel::Cell& cell = cells_->at(row, col);
    cell.back = color.rgba();
    cell.ownBack = color.isValid();
    repaintCell(row, col);
}

QColor FlexGrid::cellForeColor(int row, int col) const {
    if (!cells_->holds(row, col) || !cells_->at(row, col).ownFore) return QColor(Qt::black);
    return QColor::fromRgba(cells_->at(row, col).fore);
}

void FlexGrid::setCellForeColor(int row, int col, const QColor& color) {
    if (!cells_->holds(row, col)) return;
    GridModel::Cell& cell = cells_->at(row, col);
    cell.fore = color.rgba();
    cell.ownFore = color.isValid();
    repaintCell(row, col);
}

void FlexGrid::repaintCell(int row, int col) {
    // Colours are no data a screen reader reads: the cell is only drawn again,
    // without telling the views (and through them the screen reader) of a change.
    if (row == 0) {
        cells_->changed(row, col);
        return;
    }
    // A grid filled with updates off is drawn whole when they are on again.
    if (!updatesEnabled()) return;
    const QModelIndex index = cells_->index(row - 1, col);
    for (QTableView* view : {static_cast<QTableView*>(this), frozen_}) {
        if (!view->isHidden() && !view->isColumnHidden(col))
            view->viewport()->update(view->visualRect(index));
    }
}

Qt::Alignment FlexGrid::cellAlignment(int row, int col) const {
    const bool top = row >= 1 && cells_->holds(row, col) && cells_->at(row, col).top;
    return Qt::AlignLeft | (top ? Qt::AlignTop : Qt::AlignVCenter);
}

void FlexGrid::setBackColorBkg(const QColor& color) {
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, color);
    p.setColor(QPalette::Window, color);
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    QPalette fp = frozen_->viewport()->palette();
    fp.setColor(QPalette::Base, color);
    frozen_->viewport()->setPalette(fp);
}

QColor FlexGrid::backColorBkg() const {
    return viewport()->palette().color(QPalette::Base);
}

void FlexGrid::setCurrentCell(int row, int col) {
    if (row < 1 || row > cells_->rows() || col < 0 || col >= cols()) return;
    if (row == row_ && col == col_) return;
    emit leaveCell();
    row_ = row;
    col_ = col;
    setCurrentIndex(cells_->index(row - 1, col));
    scrollTo(cells_->index(row - 1, col));
    emit enterCell();
}

void FlexGrid::hitTest(const QPoint& widgetPos, int& row, int& col) const {
    const QPoint vp = viewport()->mapFrom(this, widgetPos);
    row = -1;
    col = -1;
    if (vp.y() < 0) {
        if (vp.y() >= -horizontalHeader()->height()) row = 0;
    } else {
        const int r = rowAt(vp.y());
        if (r >= 0) row = r + 1;
    }
    int frozenRight = 0;
    for (int c = 0; c < fixedCols_ && c < widths_.size(); ++c) {
        const int w = widths_[c] > 0 ? pixels(widths_[c]) : 0;
        if (vp.x() >= frozenRight && vp.x() < frozenRight + w) {
            col = c;
            return;
        }
        frozenRight += w;
    }
    if (vp.x() < frozenRight) return;
    col = columnAt(vp.x());
}

QRect FlexGrid::cellGeometry(int row, int col) const {
    if (row < 1 || row > cells_->rows() || col < 0 || col >= cols()) return {};
    QRect inViewport = visualRect(cells_->index(row - 1, col));
    if (col < fixedCols_) {
        // A merged frozen cell takes the height of its block, which the frozen view knows.
        const QRect merged = frozen_->visualRect(cells_->index(row - 1, col));
        inViewport.setTop(merged.top());
        inViewport.setBottom(merged.bottom());
    }
    // The cell within its lines.
    if (!showGrid()) inViewport.adjust(0, 0, -1, -1);
    return QRect(viewport()->mapTo(this, inViewport.topLeft()), inViewport.size());
}

void FlexGrid::trackMouse(const QPoint& widgetPos) {
    hitTest(widgetPos, mouseRow_, mouseCol_);
}

void FlexGrid::pressAt(const QPoint& widgetPos, Qt::MouseButton button) {
    trackMouse(widgetPos);
    setFocus(Qt::MouseFocusReason);
    if (button == Qt::LeftButton && mouseRow_ >= 1 && mouseCol_ >= fixedCols_) {
        setCurrentCell(mouseRow_, mouseCol_);
    }
}

void FlexGrid::releaseAt(const QPoint& widgetPos, Qt::MouseButton button) {
    trackMouse(widgetPos);
    emit mouseUp(button, widgetPos.x(), widgetPos.y());
    if (button == Qt::LeftButton) emit click();
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == horizontalHeader()->viewport()) {
        auto* header = horizontalHeader()->viewport();
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick: {
                auto* e = static_cast<QMouseEvent*>(event);
                pressAt(header->mapTo(this, e->position().toPoint()), e->button());
                return true;
            }
            case QEvent::MouseButtonRelease: {
                auto* e = static_cast<QMouseEvent*>(event);
                releaseAt(header->mapTo(this, e->position().toPoint()), e->button());
                return true;
            }
            case QEvent::MouseMove: {
                auto* e = static_cast<QMouseEvent*>(event);
                const QPoint p = header->mapTo(this, e->position().toPoint());
                trackMouse(p);
                emit mouseMove(p.x(), p.y());
                return true;
            }
            default:
                break;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    pressAt(viewport()->mapTo(this, event->position().toPoint()), event->button());
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void FlexGrid::mouseReleaseEvent(QMouseEvent* event) {
    releaseAt(viewport()->mapTo(this, event->position().toPoint()), event->button());
}

void FlexGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = viewport()->mapTo(this, event->position().toPoint());
    trackMouse(p);
    emit mouseMove(p.x(), p.y());
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    int r = row_;
    int c = col_;
    auto visible = [this](int col) { return col >= fixedCols_ && colWidth(col) > 0; };
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Ctrl+Tab and Ctrl+Shift+Tab leave the grid as Tab and Shift+Tab do.
            QAbstractScrollArea::focusNextPrevChild(event->key() == Qt::Key_Tab &&
                                                    !(event->modifiers() & Qt::ShiftModifier));
            return;
        case Qt::Key_Home:
            if (ctrl) r = std::min(1, cells_->rows());
            for (int k = fixedCols_; k < cols() && !ctrl; ++k) {
                if (visible(k)) {
                    c = k;
                    break;
                }
            }
            break;
        case Qt::Key_End:
            if (ctrl) r = cells_->rows();
            for (int k = cols() - 1; k >= fixedCols_ && !ctrl; --k) {
                if (visible(k)) {
                    c = k;
                    break;
                }
            }
            break;
        case Qt::Key_Up:
            r = std::max(1, r - 1);
            break;
        case Qt::Key_Down:
            r = std::min(cells_->rows(), r + 1);
            break;
        case Qt::Key_PageUp:
            r = std::max(1, r - 20);
            break;
        case Qt::Key_PageDown:
            r = std::min(cells_->rows(), r + 20);
            break;
        case Qt::Key_Left:
            for (int k = c - 1; k >= fixedCols_; --k) {
                if (visible(k)) {
                    c = k;
                    break;
                }
            }
            break;
        case Qt::Key_Right:
            for (int k = c + 1; k < cols(); ++k) {
                if (visible(k)) {
                    c = k;
                    break;
                }
            }
            break;
        default: {
            const QString text = event->text();
            if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
                emit keyPress(13);
            } else if (event->key() == Qt::Key_Backspace) {
                emit keyPress(8);
            } else if (event->key() == Qt::Key_Escape) {
                emit keyPress(27);
            } else if (!text.isEmpty() && text.at(0).unicode() >= 32) {
                emit keyPress(text.at(0).unicode());
            } else {
                QTableView::keyPressEvent(event);
            }
            return;
        }
    }
    if (cells_->rows() > 0) setCurrentCell(r, c);
}

void FlexGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    if (index.column() < fixedCols_) {
        // A frozen cell is always in view across: only the rows scroll.
        const int across = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
        return;
    }
    QTableView::scrollTo(index, hint);
    // A column scrolled in at the left edge must come out from under the frozen ones.
    int frozenWidth = 0;
    for (int c = 0; c < fixedCols_ && c < widths_.size(); ++c)
        frozenWidth += widths_[c] > 0 ? pixels(widths_[c]) : 0;
    const int left = columnViewportPosition(index.column());
    if (left < frozenWidth)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenWidth - left));
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozen();
}

void FlexGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void FlexGrid::updateFrozen() {
    if (fixedCols_ <= 0) {
        frozen_->hide();
        return;
    }
    int width = 0;
    for (int c = 0; c < cols(); ++c) {
        const bool frozenCol = c < fixedCols_;
        frozen_->setColumnHidden(c, !frozenCol || colWidth(c) == 0);
        if (frozenCol && colWidth(c) > 0) {
            frozen_->setColumnWidth(c, pixels(colWidth(c)));
            width += pixels(colWidth(c));
        }
    }
    frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->setGeometry(frameWidth(), frameWidth(), width,
                         viewport()->height() + horizontalHeader()->height());
    frozen_->show();
    frozen_->raise();
}

}  // namespace tl
