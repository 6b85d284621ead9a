// SPDX-License-Identifier: GPL-3.0-or-later

// Feeds arbitrary bytes to every reader of a file the teacher or the school
// chose. Built for libFuzzer with clang (-DTL_FUZZ=ON), and otherwise as a
// test that runs mutations of the demo files.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/class_file.h"
#include "core/favourites_file.h"
#include "core/file_io.h"
#include "core/master_file.h"
#include "core/phrase_library.h"
#include "core/sorting.h"
#include "core/workspace.h"
#include "fuzz_support.h"
#include "mutation.h"

namespace fs = std::filesystem;
using tl::fuzz::scratch;

namespace {

void write(const fs::path& path, const uint8_t* data, size_t size) {
    tl::fuzz::writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fs::path dir = scratch();
    tl::Workspace ws;
    ws.phrases = {{"0001", "@ reads widely.", "1"}, {"0002", "% work is neat.", "2"}};

    // Class file: refused or read, the open class survives a refusal.
    tl::StudentRecord open;
    open.lastName = "Keep";
    std::vector<tl::StudentRecord> students = {open};
    write(dir / "c.tlc", data, size);
    if (tl::openClass((dir / "c.tlc").string(), students)) {
        if (students.size() != 1 || students[0].lastName != "Keep") __builtin_trap();
    } else if (!students.empty()) {
        // What was read saves and reads back to the same records, as read and
        // after each sort, which may bring any record to the start of the file.
        for (auto sort : {+[](std::vector<tl::StudentRecord>&) {}, &tl::sortByName, &tl::sortByMark,
                          &tl::sortByClass}) {
            sort(students);
            if (!tl::saveClass((dir / "d.tlc").string(), students).written()) __builtin_trap();
            std::vector<tl::StudentRecord> again;
            if (tl::openClass((dir / "d.tlc").string(), again) ||
                again != tl::fuzz::asReadBack(students)) {
                __builtin_trap();
            }
        }
    }

    // Favourites file, and the same bytes merged into a list.
    write(dir / "f.tlf", data, size);
    ws.favouritesFile = (dir / "f.tlf").string();
    if (!tl::readFavouritesFile(ws)) {
        // What was read saves and reads back the same.
        const std::vector<std::string> favourites = ws.favourites;
        const std::vector<tl::InitialValueRange> ranges = ws.doc.ranges();
        ws.favouritesFile = (dir / "g.tlf").string();
        if (!tl::writeFavouritesFile(ws).written() || tl::readFavouritesFile(ws) ||
            ws.favourites != favourites || ws.doc.ranges() != tl::fuzz::asReadBack(ranges)) {
            __builtin_trap();
        }
        ws.favouritesFile = (dir / "f.tlf").string();
    }
    if (ws.favouriteCount() > 1000 || ws.rangeCount() > 100) __builtin_trap();
    tl::addFavouritesFromFile(ws, ws.favouritesFile);
    if (ws.favouriteCount() > 1000) __builtin_trap();

    // Phrase library.
    write(dir / "TLPhraseLibrary.csv", data, size);
    std::vector<tl::Phrase> phrases;
    tl::loadPhraseLibrary(dir.string(), phrases);
    for (const tl::Phrase& p : phrases)
        tl::lookupPhrase(phrases, p.code);

    // Master class data file: sections, a new class and an update.
    write(dir / "TLStudentInfo.txt", data, size);
    const std::string master = (dir / "TLStudentInfo.txt").string();
    if (auto lines = tl::readMasterStudentLines(master)) {
        if (auto sections = tl::collectClassSections(*lines); sections && !sections->empty()) {
            const std::vector<std::string> chosen(
                sections->begin(), sections->begin() + std::min<size_t>(3, sections->size()));
            tl::matchStudentsToSections(*lines, chosen, tl::kMaxStudents);
            std::vector<tl::StudentRecord> cls(2);
            cls[0].classCode = chosen[0];
            cls[1].classCode = chosen.back();
            tl::reconcileWithMaster(cls, master, std::time(nullptr), 101, 101);
        }
    }
    return 0;
}

#ifndef TL_LIBFUZZER
// Without libFuzzer: mutations of the seed files named on the command line.
int main(int argc, char** argv) {
    const char* pieces[] = {",",     "\"",   "\r\n", "\n",    "\r", "#",    " ", "-1",
                            "99999", "True", "    ", "LUNCH", "Z",  "\xff", "\t"};
    return runMutatedSeeds(argc, argv, 20261207, 20000, 150, pieces, LLVMFuzzerTestOneInput);
}
#endif
