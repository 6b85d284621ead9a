// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/notice.h"

class QKeyEvent;
class QLineEdit;
class QListWidget;

namespace tl {

class FlexGrid;
struct Phrase;

// A grid's comment cells as the keys reach them: the columns, and what the
// window does where its mouse would.
struct CommentKeys {
    int firstCol = 0;
    int count = 0;
    // What a left click on the cell does with a code to stamp ("" for none).
    std::function<void(int row, int col, const QString& code)> stamp;
    // What a right click on the cell does.
    std::function<void(int row, int col)> pickUp;
    // Whether the row's cells take a code picked up or typed; none for all rows.
    std::function<bool(int row)> takesCodes;
    // Tells the teacher that a typed code was refused.
    std::function<void(const Notice& notice)> tell;
};

// A stretch of a grid across, in x as its mouse events give it: from left up
// to but not including right. An empty stretch holds nothing.
struct GridStretch {
    int left = 0;
    int right = 0;
    bool holds(int x) const { return x >= left && x < right; }
};

// The codes a grid's comment cells are stamped with: the window's favourites
// list, whose selected entry stamps its code, and a code picked up from a
// cell with the right button, which wins over the list until it is cancelled.
// While a code is picked its cell is coloured. One per grid, owned by the grid.
class StampPalette : public QObject {
  public:
    // How a picked code ends: its cell only turns white, or it is made the
    // grid's current cell first.
    enum class Cancel { InPlace, AtPickedCell };

    StampPalette(QListWidget* list, FlexGrid* grid, const std::vector<std::string>& favourites);

    // The keys of the comment cells: Space stamps as a left click, Enter too
    // and then goes down a row, Delete stamps no comment, a digit opens the code
    // editor over the cell, the Menu key or Shift+F10 picks up as a right click.
    // Escape on the grid cancels a picked code; Alt+1 goes to the list, and
    // Escape there back to the grid. Typed codes are looked up in phrases.
    void takeKeys(const std::vector<Phrase>& phrases, CommentKeys keys);

    // The code a left click on a comment cell stamps: the picked code, else
    // the selected entry's ("" when none is selected or the list is hidden).
    QString codeToStamp() const;
    // The code of the list's selected entry: the entry's code, four blanks for
    // a separator or the final "no comment" entry, "" for none or a hidden list.
    QString selectedEntryCode() const;

    // A right click on a comment cell holding cellCode: a picked code is
    // cancelled first. The cell's entry (or the final one for no code) is then
    // selected; a code the list lacks is picked up itself: the list's
    // selection cleared, the cell coloured and made current.
    void pickUp(int row, int col, const std::string& cellCode, Cancel cancel);
    // Ends a picked code, if any: its cell turns white and nothing is picked.
    void cancelPickedCode(Cancel cancel);

    // The pointer over the grid at x: the stamp over `codes` while there is a
    // code to stamp and the cell takes one, the diagonal sizing arrow over
    // `skills`, the arrow elsewhere.
    void showPointer(int x, GridStretch codes, GridStretch skills, bool stampable = true) const;

    const QString& pickedCode() const { return pickedCode_; }
    int pickedRow() const { return pickedRow_; }
    int pickedCol() const { return pickedCol_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool isCommentCell(int row, int col) const;
    bool takesCodes(int row) const;
    bool gridKey(const QKeyEvent* key);
    void openCodeEditor(const QString& digit);
    void closeCodeEditor();
    void commitTypedCode();

    QListWidget* list_;
    FlexGrid* grid_;
    const std::vector<std::string>& favourites_;
    QString pickedCode_;
    int pickedRow_ = -1;
    int pickedCol_ = -1;
    const std::vector<Phrase>* phrases_ = nullptr;
    CommentKeys keys_;
    QLineEdit* codeEditor_ = nullptr;
};

}  // namespace tl
