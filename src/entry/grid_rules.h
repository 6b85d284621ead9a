#pragma once

#include <string>
#include <vector>

#include "core/favourites_file.h"

// The editing rules of the class grid, without Qt.
namespace tl {

// The value a mouse click gives a learning-skill cell: the left button steps
// 4, 3, 2, 1, 4 and the right button 1, 2, 3, 4, 1. A cell holding anything
// but "1" to "4" counts as "3".
std::string nextSkillValue(const std::string& cell, bool leftButton);

// The mark editor's text when a key is typed on the MRK column: a digit or a
// capital I opens it holding that character, anything else opens it empty.
std::string markEditorOpening(int charCode);

// Key groups of the mark editor's key-release rule.
enum class MarkKey { LetterI, Digit, Other };

// The mark editor's text after a key is released: always a number up to 100
// or "I"; anything else empties it.
std::string markEditorAfterKey(const std::string& text, MarkKey key);

// The numeric value of a mark for the ranges: its leading number, "I" and ""
// giving 0.
double markValue(const std::string& mark);

// The first range holding the mark, or -1.
int findAutoFillRange(const std::vector<InitialValueRange>& ranges, const std::string& mark);

// True when all six skill cells hold the value 3.
bool skillsAllThree(const std::vector<std::string>& cells);

}  // namespace tl
