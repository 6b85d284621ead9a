// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "core/class_document.h"
#include "core/favourites_file.h"
#include "core/phrase_library.h"

namespace tl {

// The program-wide data, created once and shared by every window: the open
// class (with the favourites file's mark ranges), which changes only through
// its own members, the phrase library and the favourites list.
struct Workspace {
    ClassDocument doc;
    std::vector<Phrase> phrases;
    std::vector<std::string> favourites;
    std::string favouritesFile;

    const std::vector<StudentRecord>& students() const { return doc.students(); }
    int studentCount() const { return doc.studentCount(); }
    int phraseCount() const { return static_cast<int>(phrases.size()); }
    int favouriteCount() const { return static_cast<int>(favourites.size()); }
    int rangeCount() const { return doc.rangeCount(); }
};

}  // namespace tl
