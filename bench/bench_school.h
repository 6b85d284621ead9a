// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The invented school, phrase library and favourites that the window
// benchmarks (ui_bench.cpp) and the instruction-count gate
// (instructions.cpp) set up: the same data for both, made from fixed seeds.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"
#include "core/workspace.h"
#include "doubles/scripted_prompts.h"
#include "platform/locations.h"
#include "school_generator.h"

namespace tl {
class frmEntry;
class frmSplash;
class FlexGrid;
}  // namespace tl

namespace tl::bench {

// A full phrase library of 10000 phrases: the demo phrases again and again,
// each copy with its own number so that no two texts are equal.
const std::vector<tl::Phrase>& fullLibrary();

// A full favourites list of 1000 entries: the library's first codes, every
// tenth entry a separator line.
std::vector<std::string> fullFavourites(const std::vector<tl::Phrase>& phrases);

// A school of 5000 students; the class is the three sections of MPM2D1,
// 501 records, every student with a mark, comments of the demo library's codes
// and six learning skills. The windows hold the full library of 10000 phrases
// and a full favourites list of 1000 entries.
struct BenchSchool {
    tl::demo::School school;
    std::vector<tl::Phrase> phrases;
    std::vector<std::string> favourites;
    std::vector<tl::StudentRecord> cls;  // sorted by name
    std::string error;
};

// Made once, on first use.
const BenchSchool& benchSchool();

// A folder in memory where there is one, so that a file operation measures the
// program's work rather than the disk's flush.
std::filesystem::path memoryFolder();

// The main window with the class.
struct Window {
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    std::unique_ptr<tl::frmEntry> entry;
    tl::FlexGrid* grid = nullptr;
    ~Window();
};

// The main window with the class of `data`, shown; nothing, and the reason in
// `error`, when the data or a control is missing.
std::unique_ptr<Window> openClassWindow(const BenchSchool& data, std::string& error);

// The school's enrolment file in a program's data folder.
struct ExportSchool {
    std::filesystem::path root;
    tl::Workspace ws;
    tl::ScriptedPrompts prompts;
    tl::Locations locations;
    ~ExportSchool();
};

// The enrolment file written and the workspace given the library; nothing
// when the file could not be written.
std::unique_ptr<ExportSchool> exportSchool(const BenchSchool& data);

// Writes the program folder's phrase library of 10000 phrases (the demo
// phrases again and again, each copy with its own code) under root/Tallyleaf
// and a favourites file root/full.tlf of its first 1000 codes, every tenth a
// separator. `written` receives the favourites and the file's name,
// `locations` the program and home folders; false when a file could not be
// written.
bool writeStartUpFiles(const std::filesystem::path& root, tl::Workspace& written,
                       tl::Locations& locations);

// Answers the start-up window with Open Favourites as soon as it is shown;
// `beforeClick`, when given, is called with the window just before.
void openFavouritesOnStartUp(std::function<void(tl::frmSplash&)> beforeClick = {});

}  // namespace tl::bench
