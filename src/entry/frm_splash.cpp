// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/frm_splash.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/limits.h"
#include "core/program_info.h"
#include "core/workspace.h"
#include "favourites/favourites_commands.h"
#include "platform/prompts.h"

namespace tl {

frmSplash::frmSplash(Workspace& ws, Prompts& prompts, const Locations& locations, QWidget* parent)
    : QDialog(parent),
      ws_(ws),
      cdlgFavourites_(std::make_unique<CommonDialog>(prompts)),
      favouritesCommands_(std::make_unique<FavouritesFileCommands>(
          ws, prompts, locations, FavouritesStart::HomePresent, *cdlgFavourites_)) {
    setObjectName("frmSplash");
    setModal(true);
    // No favourites file until one is chosen here.
    favouritesCommands_->clearCurrentFile();
    setWindowTitle(QString("Tallyleaf v") + kVersion);

    Label1 = new QLabel("Tallyleaf", this);
    Label1->setObjectName("Label1");
    QFont big("Times New Roman", 40, QFont::Bold);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);

    Label2 = new QLabel(QString("Version ") + kVersion + "      " + kSchoolName, this);
    Label2->setObjectName("Label2");
    Label2->setAlignment(Qt::AlignCenter);
    Label2->setFont(QFont("Arial", 11));

    Label3 = new QLabel(kCreditLine, this);
    Label3->setObjectName("Label3");
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(QFont("Arial", 10));

    picLeaf = new QLabel(this);
    picLeaf->setObjectName("picLeaf");
    picLeaf->setPixmap(QPixmap(":/leaf.png"));
    picStamp = new QLabel(this);
    picStamp->setObjectName("picStamp");
    picStamp->setPixmap(QPixmap(":/report_card.png"));

    cmdOpenFavourites = new QPushButton("&Open An Existing Favourite Phrase File", this);
    cmdOpenFavourites->setObjectName("cmdOpenFavourites");
    cmdOpenFavourites->setMinimumHeight(40);
    cmdOpenFavourites->setDefault(true);
    cmdCancel = new QPushButton("&Proceed Without Opening An Existing Favourite File", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setMinimumHeight(40);
    cmdCancel->setAutoDefault(false);

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(picLeaf, 0, Qt::AlignCenter);
    pictures->addSpacing(24);
    pictures->addWidget(Label1, 1);
    pictures->addSpacing(24);
    pictures->addWidget(picStamp, 0, Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 24, 28, 24);
    layout->addLayout(pictures);
    layout->addSpacing(8);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addSpacing(18);
    layout->addWidget(cmdOpenFavourites);
    layout->addWidget(cmdCancel);

    connect(cmdOpenFavourites, &QPushButton::clicked, this, &frmSplash::cmdOpenFavourites_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSplash::cmdCancel_Click);
}

void frmSplash::cmdOpenFavourites_Click() {
    // The main window reads the chosen file once the phrase library is loaded.
    if (!favouritesCommands_->nameChosenFile()) favouritesCommands_->clearCurrentFile();
    accept();
}

void frmSplash::cmdCancel_Click() {
    favouritesCommands_->clearCurrentFile();
    accept();
}

void frmSplash::reject() {
    // Closing by the frame proceeds without a favourites file.
    favouritesCommands_->clearCurrentFile();
    QDialog::reject();
}

frmSplash::~frmSplash() = default;

}  // namespace tl
