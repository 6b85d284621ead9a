// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/notice.h"

// The board's phrase library, TLPhraseLibrary.csv in the program folder.
namespace tl {

// Whether the dictionary knows a word (Windows-1252 bytes); empty when no
// dictionary is installed.
using KnowsWord = std::function<bool(std::string_view word)>;

struct Phrase {
    std::string code;      // four characters, zero-padded
    std::string text;      // as written, possibly still quoted
    std::string category;  // one-character category keys
    // The dictionary the they-form is made with, shared by the library
    // (useDictionary); none: by the rules alone.
    std::shared_ptr<const KnowsWord> dictionary = {};
    // The cleaned text with its verbs after "@" agreeing with "they", made
    // when first needed (theyForm); derived from text, so not compared.
    mutable std::optional<std::string> theyText = {};
    bool operator==(const Phrase& other) const {
        return code == other.code && text == other.text && category == other.category;
    }
};

enum class LibraryStatus {
    Loaded,  // the table holds the library
    Hidden,  // TL3: present but not a plain file; the program goes on without phrases
    Fatal    // TL1 or TL2: the program ends
};

struct LibraryLoad {
    LibraryStatus status = LibraryStatus::Loaded;
    Failure notice;
};

// Loads programFolder/TLPhraseLibrary.csv into phrases, sorted by code.
LibraryLoad loadPhraseLibrary(const std::string& programFolder, std::vector<Phrase>& phrases);
// The same for a library file of any name.
LibraryLoad loadPhraseLibraryFile(const std::string& path, std::vector<Phrase>& phrases);

// Position (0-based) of code in the sorted table, or -1.
int findPhrase(const std::vector<Phrase>& phrases, std::string_view code);

// The cleaned text of code, or "" when code is empty, four blanks or unknown.
std::string lookupPhrase(const std::vector<Phrase>& phrases, std::string_view code);

// Writes the table to folder/TLPhraseLibrarySORTED.csv; TLTemp on failure.
Failure writeSortedPhraseLibrary(const std::string& folder, const std::vector<Phrase>& phrases);

}  // namespace tl
