// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

#include <QDialog>
#include <QPointer>
#include <QTextCursor>

#include "platform/spelling.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tl {

struct Workspace;
class Prompts;

// The free-form comment editor. Accepted (Okay or Cancel), its result is the
// draft: "" returns the student to the coded comments. Rejected (Escape, the close box), nothing is
// decided. With a dictionary in the folders, misspelt words are underlined and a right click (or
// the menu key, or Shift+F10) offers suggestions and Add to Dictionary.
class frmFreeFormCommentEntry : public QDialog {
    Q_OBJECT
  public:
    frmFreeFormCommentEntry(const Workspace& ws, Prompts& prompts, QWidget* parent = nullptr,
                            const SpellingFolders& spelling = SpellingFolders::forRunningProgram());

    // The text the dialog starts with.
    void setComment(const QString& text);
    // The student the comment is for: names and Student ID.
    void setStudent(const QString& student);
    // What the teacher decided, once the dialog was accepted.
    const std::string& draft() const { return draft_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void txtComment_Change();
    // The text box's menu, with the spelling of the word at the cursor first.
    void showSpellingMenu(QTextCursor at, const QPoint& globalPos);
    void cmdOkay_Click();
    void cmdCancel_Click();
    QLabel* lblStudent;
    QLabel* Label1;
    QPlainTextEdit* txtComment;
    QLabel* lblLength;
    QLabel* lblWillChange;  // the words storing the comment changes
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;

    const Workspace& ws_;
    Prompts& prompts_;
    std::string draft_;
    QPointer<SpellingHighlighter> highlighter_;  // none without a dictionary
};

}  // namespace tl
