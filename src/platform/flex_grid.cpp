#include "platform/flex_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <algorithm>
#include <cmath>

namespace tl {

namespace {
constexpr int kRowHeight = 18;  // 270 twips, for the 8-point grid font at 96 dots per inch

// Draws a cell as the grid needs it: its colour, its text on one line with
// the item's alignment, and the focus frame of the current cell. Much cheaper
// than the general item delegate, which a grid of hundreds of cells redraws
// on every change.
class CellPainter : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant back = index.data(Qt::BackgroundRole);
        if (back.canConvert<QBrush>()) painter->fillRect(option.rect, back.value<QBrush>());
        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const QVariant fore = index.data(Qt::ForegroundRole);
            painter->setPen(fore.canConvert<QBrush>() ? fore.value<QBrush>().color()
                                                      : option.palette.color(QPalette::Text));
            const QVariant align = index.data(Qt::TextAlignmentRole);
            const int flags =
                align.isValid() ? align.toInt() : int(Qt::AlignLeft | Qt::AlignVCenter);
            const QWidget* view = option.widget;
            const int margin = (view != nullptr ? view->style()->pixelMetric(
                                                      QStyle::PM_FocusFrameHMargin, nullptr, view)
                                                : 2) +
                               1;
            painter->setFont(option.font);
            painter->drawText(option.rect.adjusted(margin, 0, 0, 0), flags | Qt::TextSingleLine,
                              text);
        }
        if (option.state & QStyle::State_HasFocus) {
            // The current cell of the grid with the keyboard.
            painter->setPen(option.palette.color(QPalette::Highlight));
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        }
    }
};
}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent), frozen_(new QTableView(this)) {
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new CellPainter(this));
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
    frozen_->setModel(model());
    frozen_->setSelectionModel(selectionModel());
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
    frozen_->setItemDelegate(new CellPainter(frozen_));
    frozen_->setTextElideMode(Qt::ElideNone);
    frozen_->setFont(gridFont);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->hide();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
}

void FlexGrid::setCols(int cols) {
    setColumnCount(cols);
    while (widths_.size() < cols)
        widths_.append(horizontalHeader()->defaultSectionSize());
    while (widths_.size() > cols)
        widths_.removeLast();
    updateFrozen();
}

void FlexGrid::setFixedCols(int cols) {
    fixedCols_ = cols;
    updateFrozen();
}

void FlexGrid::clearGrid() {
    clearSpans();
    frozen_->clearSpans();
    setRowCount(0);
    for (int c = 0; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem());
    headerSet_ = false;
    row_ = 0;
    col_ = 0;
}

void FlexGrid::addItem(const QString& tabSeparated) {
    const QStringList texts = tabSeparated.split('\t');
    if (!headerSet_) {
        for (int c = 0; c < columnCount(); ++c) {
            setHorizontalHeaderItem(c, new QTableWidgetItem(c < texts.size() ? texts[c] : ""));
        }
        headerSet_ = true;
        return;
    }
    const int r = rowCount();
    setRowCount(r + 1);
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* item = ensureCell(r + 1, c);
        item->setText(c < texts.size() ? texts[c] : QString());
    }
    if (r == 0) {
        // The first data row becomes current, as in a freshly filled grid.
        row_ = 1;
        col_ = std::min(fixedCols_, columnCount() - 1);
        QSignalBlocker block(this);
        QTableWidget::setCurrentCell(0, col_);
    }
}

void FlexGrid::mergeColumns(int cols) {
    clearSpans();
    frozen_->clearSpans();
    std::vector<bool> startsRun(static_cast<std::size_t>(rowCount()), false);
    if (!startsRun.empty()) startsRun[0] = true;
    for (int c = 0; c < std::min(cols, columnCount()); ++c) {
        std::vector<bool> starts(startsRun.size(), true);
        for (int r = 1; r < rowCount(); ++r) {
            starts[r] = startsRun[r] || textMatrix(r + 1, c) != textMatrix(r, c);
        }
        for (int r = 0; r < rowCount();) {
            int end = r + 1;
            while (end < rowCount() && !starts[end])
                ++end;
            if (end - r > 1) {
                setSpan(r, c, end - r, 1);
                frozen_->setSpan(r, c, end - r, 1);
                // At the top, where it is in view when the block begins.
                if (QTableWidgetItem* item = cell(r + 1, c))
                    item->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
            }
            r = end;
        }
        startsRun = starts;
    }
}

QTableWidgetItem* FlexGrid::cell(int row, int col) const {
    if (col < 0 || col >= columnCount()) return nullptr;
    if (row == 0) return horizontalHeaderItem(col);
    return row >= 1 && row <= rowCount() ? item(row - 1, col) : nullptr;
}

QColor FlexGrid::defaultBack(int row, int col) const {
    return row == 0 || col < fixedCols_ ? palette().color(QPalette::Button) : QColor(Qt::white);
}

QTableWidgetItem* FlexGrid::ensureCell(int row, int col) {
    QTableWidgetItem* existing = cell(row, col);
    if (existing != nullptr) return existing;
    auto* created = new QTableWidgetItem();
    created->setBackground(defaultBack(row, col));
    created->setForeground(QColor(Qt::black));
    if (row == 0) {
        setHorizontalHeaderItem(col, created);
    } else if (row >= 1 && row <= rowCount() && col >= 0 && col < columnCount()) {
        setItem(row - 1, col, created);
    } else {
        delete created;
        return nullptr;
    }
    return created;
}

QString FlexGrid::textMatrix(int row, int col) const {
    const QTableWidgetItem* item = cell(row, col);
    return item != nullptr ? item->text() : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString& text) {
    if (QTableWidgetItem* item = ensureCell(row, col)) item->setText(text);
}

void FlexGrid::setColWidth(int col, int width) {
    if (col < 0 || col >= columnCount()) return;
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
    if (col < 0 || col >= columnCount()) return;
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int r = 1; r <= rowCount(); ++r) {
        if (const QTableWidgetItem* item = cell(r, col))
            widest = std::max(widest, metrics.horizontalAdvance(item->text()));
    }
    // The cell's text margin on both sides, and a pixel to spare.
    const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const double scale = pixels(1000) / 1000.0;
    const int needed = static_cast<int>(std::ceil((widest + margin + 1) / scale));
    setColWidth(col, std::max(minimum, needed));
}

int FlexGrid::colLeft(int col) const {
    return viewport()->mapTo(this, QPoint(columnViewportPosition(col), 0)).x();
}

int FlexGrid::colWidth(int col) const {
    return col >= 0 && col < widths_.size() ? widths_[col] : 0;
}

QColor FlexGrid::cellBackColor(int row, int col) const {
    const QTableWidgetItem* item = cell(row, col);
    if (item == nullptr || item->background().style() == Qt::NoBrush) return defaultBack(row, col);
    return item->background().color();
}

void FlexGrid::setCellBackColor(int row, int col, const QColor& color) {
    if (QTableWidgetItem* item = ensureCell(row, col)) item->setBackground(color);
}

QColor FlexGrid::cellForeColor(int row, int col) const {
    const QTableWidgetItem* item = cell(row, col);
    if (item == nullptr || item->foreground().style() == Qt::NoBrush) return QColor(Qt::black);
    return item->foreground().color();
}

void FlexGrid::setCellForeColor(int row, int col, const QColor& color) {
    if (QTableWidgetItem* item = ensureCell(row, col)) item->setForeground(color);
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
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return;
    if (row == row_ && col == col_) return;
    emit leaveCell();
    row_ = row;
    col_ = col;
    {
        QSignalBlocker block(this);
        QTableWidget::setCurrentCell(row - 1, col);
    }
    scrollTo(model()->index(row - 1, col));
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
    if (row < 1 || row > rowCount() || col < 0 || col >= columnCount()) return {};
    const QRect inViewport = visualRect(model()->index(row - 1, col));
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
    return QTableWidget::eventFilter(watched, event);
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
    switch (event->key()) {
        case Qt::Key_Up:
            r = std::max(1, r - 1);
            break;
        case Qt::Key_Down:
            r = std::min(rowCount(), r + 1);
            break;
        case Qt::Key_PageUp:
            r = std::max(1, r - 20);
            break;
        case Qt::Key_PageDown:
            r = std::min(rowCount(), r + 20);
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
            for (int k = c + 1; k < columnCount(); ++k) {
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
                QTableWidget::keyPressEvent(event);
            }
            return;
        }
    }
    if (rowCount() > 0) setCurrentCell(r, c);
}

void FlexGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    if (index.column() < fixedCols_) {
        // A frozen cell is always in view across: only the rows scroll.
        const int across = horizontalScrollBar()->value();
        QTableWidget::scrollTo(index, hint);
        horizontalScrollBar()->setValue(across);
        return;
    }
    QTableWidget::scrollTo(index, hint);
    // A column scrolled in at the left edge must come out from under the frozen ones.
    int frozenWidth = 0;
    for (int c = 0; c < fixedCols_ && c < widths_.size(); ++c)
        frozenWidth += widths_[c] > 0 ? pixels(widths_[c]) : 0;
    const int left = columnViewportPosition(index.column());
    if (left < frozenWidth)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (frozenWidth - left));
}

void FlexGrid::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    updateFrozen();
}

void FlexGrid::scrollContentsBy(int dx, int dy) {
    QTableWidget::scrollContentsBy(dx, dy);
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void FlexGrid::updateFrozen() {
    if (fixedCols_ <= 0) {
        frozen_->hide();
        return;
    }
    int width = 0;
    for (int c = 0; c < columnCount(); ++c) {
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
