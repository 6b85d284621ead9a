// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/favourites_file.h"
#include "core/phrase_library.h"
#include "core/student_record.h"
#include "core/undo.h"

namespace tl {

// The program-wide data, created once and shared by every window.
struct Workspace {
    std::vector<StudentRecord> students;
    UndoStack undo;  // edits of the open class (see class_document.h)
    // Changes of the open class so far, and how many of them a save holds.
    std::uint64_t classChanges = 0;
    std::uint64_t savedChanges = 0;
    std::vector<Phrase> phrases;
    std::vector<std::string> favourites;
    std::vector<InitialValueRange> initialValues;
    std::string favouritesFile;
    bool smallScreen = false;
    bool firstDialog = true;
    std::string freeFormDraft;

    int studentCount() const { return static_cast<int>(students.size()); }
    int phraseCount() const { return static_cast<int>(phrases.size()); }
    int favouriteCount() const { return static_cast<int>(favourites.size()); }
    int rangeCount() const { return static_cast<int>(initialValues.size()); }
};

}  // namespace tl
