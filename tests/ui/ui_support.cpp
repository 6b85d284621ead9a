#include "ui/ui_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace tl::test {

TempSchool::TempSchool() {
    QDir(root()).mkpath("Tallyleaf");
    QDir(root()).mkpath("data");
    QDir(root()).mkpath("home");
    locations_ = Locations{programFolder(), homeFolder()};
}

QString TempSchool::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = root() + "/" + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

void TempSchool::installDemoLibrary() const {
    write("Tallyleaf/TLPhraseLibrary.csv", demoFile("TLPhraseLibrary.csv"));
}

void TempSchool::removeHome() {
    QDir(homeFolder()).removeRecursively();
}

void onNextModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

QByteArray demoFile(const QString& name) {
    QFile file(QString(TL_DEMO_DIR) + "/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace tl::test
