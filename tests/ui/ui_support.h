#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>

#include "platform/locations.h"

class QWidget;

namespace tl::test {

// A school on disk for one test: a program folder, a data folder beside it
// and a teacher's home folder, all in a fresh temporary folder.
class TempSchool {
  public:
    TempSchool();
    QString root() const { return dir_.path(); }
    QString programFolder() const { return root() + "/Tallyleaf"; }
    QString dataFolder() const { return root() + "/data"; }
    QString homeFolder() const { return root() + "/home"; }
    const Locations& locations() const { return locations_; }

    // Writes bytes to a file under the root; returns its full path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    // Copies the demo phrase library into the program folder.
    void installDemoLibrary() const;
    void removeHome();

  private:
    QTemporaryDir dir_;
    Locations locations_;
};

// Runs action on the next modal window that appears (the start-up window
// shown by the main window's load step, for example).
void onNextModal(std::function<void(QWidget*)> action);

// The bytes of a file of the source tree's demo folder.
QByteArray demoFile(const QString& name);

}  // namespace tl::test
