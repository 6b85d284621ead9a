#include "entry/frm_splash.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/favourites_file.h"
#include "core/limits.h"
#include "core/program_info.h"
#include "core/workspace.h"
#include "platform/encoding.h"
#include "platform/locations.h"
#include "platform/prompts.h"

namespace tl {

bool screenIsSmall() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && screen->geometry().height() == 600;
}

frmSplash::frmSplash(Workspace& ws, Prompts& prompts, const Locations& locations, QWidget* parent)
    : QDialog(parent), ws_(ws), locations_(locations), cdlgFavourites_(new CommonDialog(prompts)) {
    setObjectName("frmSplash");
    setModal(true);
    // No favourites file until one is chosen here.
    ws_.favouritesFile.clear();
    setWindowTitle(QString("Tallyleaf v") + kVersion);
    ws_.smallScreen = screenIsSmall();

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

    cmdOpenFavourites = new QPushButton("Open An Existing Favourite Phrase File", this);
    cmdOpenFavourites->setObjectName("cmdOpenFavourites");
    cmdOpenFavourites->setMinimumHeight(40);
    cmdOpenFavourites->setDefault(true);
    cmdCancel = new QPushButton("Proceed Without Opening An Existing Favourite File", this);
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

frmSplash::~frmSplash() {
    delete cdlgFavourites_;
}

void frmSplash::cmdOpenFavourites_Click() {
    if (locations_.homePresent()) cdlgFavourites_->initDir = locations_.homeFolder;
    cdlgFavourites_->fileName.clear();
    cdlgFavourites_->filter = kFavouritesFilter;
    const QString chosen = cdlgFavourites_->showOpen();
    ws_.favouritesFile = toPath(chosen);
    accept();
}

void frmSplash::cmdCancel_Click() {
    ws_.favouritesFile.clear();
    accept();
}

void frmSplash::reject() {
    // Closing by the frame proceeds without a favourites file.
    ws_.favouritesFile.clear();
    QDialog::reject();
}

}  // namespace tl
