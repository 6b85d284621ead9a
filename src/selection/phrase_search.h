// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/phrase_library.h"

// The phrase search of the Comment Selection window, without Qt.
namespace tl {

// An item of a search drop-down list and the category key it selects. The
// item at position 0, "All", has no key (key 0).
struct SearchCategory {
    const char* item;
    char key;
};

// The items of cmbMarkCat, cmbCommentCat, cmbLS and cmbDept, in list order.
std::span<const SearchCategory> gradeStreamCategories();
std::span<const SearchCategory> commentCategories();
std::span<const SearchCategory> learningSkillCategories();
std::span<const SearchCategory> departmentCategories();

struct SearchCriteria {
    // Selected positions of the four lists: 0 "All", -1 none selected.
    int markCat = 0;
    int commentCat = 0;
    int learningSkill = 0;
    int dept = 0;
    // The four text boxes as typed (Windows-1252); "" is not used.
    std::string and1;
    std::string and2;
    std::string orText;
    std::string notText;
    bool noDups = true;  // chkNoDups
};

// searchResults: the 1-based positions of the matching phrases in table
// order, at most the phrase table's capacity.
std::vector<int> search(const std::vector<Phrase>& phrases, const SearchCriteria& criteria);

// A row of lstComments: the code, one blank and the stored text.
std::string searchResultItemText(const Phrase& phrase);

}  // namespace tl
