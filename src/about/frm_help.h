// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace tl {

// The about window: name, version and credits.
class frmHelp : public QDialog {
    Q_OBJECT
  public:
    explicit frmHelp(QWidget* parent = nullptr);

    // The twelve lines of the window, each ended by CR LF.
    static QString printstuff();

  private:
    QPlainTextEdit* Text1;
    QPushButton* Command1;
};

}  // namespace tl
