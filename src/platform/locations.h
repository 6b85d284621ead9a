// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <ctime>
#include <functional>
#include <string>

namespace tl {

// Where the program finds its files, and when it runs. The teacher's home
// folder stands for the home drive "h:" of the school network.
struct Locations {
    QString programFolder;  // folder of the running executable
    QString homeFolder;     // the teacher's home folder
    // Where the open class's recovery copy is kept; "" keeps none.
    QString recoveryFolder = {};
    // The spelling dictionary's folder and where the teacher's added words
    // are kept; no dictionary folder, no spelling check.
    QString dictionaryFolder = {};
    QString wordListFolder = {};
    // The current time (the enrolment file's age, the report's heading); tests
    // may set another.
    std::function<std::time_t()> clock = [] { return std::time(nullptr); };
    std::time_t now() const { return clock(); }

    static Locations forRunningProgram();

    std::string programFolderPath() const;
    std::string dataRoot() const;
    // data/TLStudentInfo.txt under the data root, names matched without regard to case.
    std::string masterFile() const;
    // The home folder exists.
    bool homePresent() const;
    // The home folder lists at least one file.
    bool homeHoldsFile() const;
};

}  // namespace tl
