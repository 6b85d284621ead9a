// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

// The mark editor of the class grid, without Qt. The other editing rules are
// in core/editing_rules.h.
namespace tl {

// The mark editor's text when a key is typed on the MRK column: a digit or a
// capital I opens it holding that character, anything else opens it empty.
std::string markEditorOpening(int charCode);

// Key groups of the mark editor's key-release rule.
enum class MarkKey { LetterI, Digit, Other };

// The mark editor's text after a key is released: always a number up to 100
// or "I"; anything else empties it.
std::string markEditorAfterKey(const std::string& text, MarkKey key);

}  // namespace tl
