// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;

namespace tl {

struct Workspace;
class Prompts;
struct Locations;
class CommonDialog;
class FavouritesFileCommands;

// The start-up window: open a favourites file or proceed without one.
class frmSplash : public QDialog {
    Q_OBJECT
  public:
    frmSplash(Workspace& ws, Prompts& prompts, const Locations& locations,
              QWidget* parent = nullptr);
    ~frmSplash() override;

  protected:
    void reject() override;

  private:
    void cmdOpenFavourites_Click();
    void cmdCancel_Click();

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* picLeaf;
    QLabel* picStamp;
    QPushButton* cmdOpenFavourites;
    QPushButton* cmdCancel;
    Workspace& ws_;
    // Declared before what refers to it, so that it is destroyed after.
    std::unique_ptr<CommonDialog> cdlgFavourites_;
    std::unique_ptr<FavouritesFileCommands> favouritesCommands_;
};

}  // namespace tl
