// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/ui_support.h"

#include "entry/frm_splash.h"

namespace tl::test {

TempSchool::TempSchool() {
    for (const char* folder : {"Tallyleaf", "data", "home"})
        QDir(root()).mkpath(folder);
    locations_ = Locations{programFolder(), homeFolder()};
}

QString TempSchool::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = root() + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempSchool::installTestLibrary() const {
    write("Tallyleaf/TLPhraseLibrary.csv", contents(QString(TL_TEST_DATA) + "/ui_library.csv"));
}

bool loadWith(frmEntry& entry, const QString& button) {
    whenModal<frmSplash>([button](frmSplash* splash) {
        if (button.isEmpty())
            splash->close();
        else
            splash->findChild<QPushButton*>(button)->click();
    });
    return entry.Form_Load();
}

Desk::Desk(const QByteArray& library, const QByteArray& favourites) {
    school.installTestLibrary();
    if (!library.isEmpty()) school.write("Tallyleaf/TLPhraseLibrary.csv", library);
    if (!favourites.isEmpty()) prompts.fileAnswers << file("start.tlf", favourites);
    loaded = loadWith(entry, favourites.isEmpty() ? "cmdCancel" : "cmdOpenFavourites");
    settle();
}

// A window left open by a failed check goes with the desk, so that the next
// test does not find it. A question the test did not answer fails it.
Desk::~Desk() {
    for (const char* name : {"frmExport", "frmSelection", "frmAutoFill"})
        delete openWindow<QWidget>(name);
    QVERIFY2(prompts.unexpected == 0, "a question was asked that the test did not expect");
}

}  // namespace tl::test
