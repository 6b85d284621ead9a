// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/master_file.h"
#include "platform/encoding.h"

namespace tl {

Locations Locations::forRunningProgram() {
    // Qt takes the executable's path from /proc/self/exe, so a symbolic link
    // such as /usr/bin/tallyleaf leads to the real program folder.
    Locations here{QCoreApplication::applicationDirPath(), QDir::homePath()};
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    here.recoveryFolder = data + "/recovery";
    here.dictionaryFolder = "/usr/share/hunspell";
    here.wordListFolder = data;
    return here;
}

std::string Locations::programFolderPath() const {
    return toPath(programFolder);
}

std::string Locations::dataRoot() const {
    return dataRootFolder(programFolderPath());
}

std::string Locations::masterFile() const {
    return findMasterFile(dataRoot());
}

bool Locations::homePresent() const {
    return !homeFolder.isEmpty() && QFileInfo(homeFolder).isDir();
}

bool Locations::homeHoldsFile() const {
    if (!homePresent()) return false;
    return !QDir(homeFolder).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty();
}

}  // namespace tl
