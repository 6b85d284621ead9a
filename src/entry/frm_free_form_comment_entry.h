#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tl {

struct Workspace;
class Prompts;

// The free-form comment editor. Its result is left in the workspace's
// freeFormDraft: "" returns the student to the coded comments.
class frmFreeFormCommentEntry : public QDialog {
    Q_OBJECT
  public:
    frmFreeFormCommentEntry(Workspace& ws, Prompts& prompts, QWidget* parent = nullptr);

    // The text the dialog starts with.
    void setComment(const QString& text);

  private:
    void txtComment_Change();
    void cmdOkay_Click();
    void cmdCancel_Click();
    QLabel* Label1;
    QPlainTextEdit* txtComment;
    QLabel* lblLength;
    QPushButton* cmdOkay;
    QPushButton* cmdCancel;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;

    Workspace& ws_;
    Prompts& prompts_;
};

}  // namespace tl
