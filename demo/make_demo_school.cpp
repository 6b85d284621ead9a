// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the demo school: the enrolment file of an invented secondary school
// of 1600 students, and a teacher's sample class file built from it.
//
//   tl_make_demo_school MASTER_FILE_PATH TEACHER_FOLDER
//
// Every run writes the same bytes.

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/class_file.h"
#include "core/file_io.h"
#include "core/limits.h"
#include "core/master_file.h"
#include "core/sorting.h"
#include "core/text.h"
#include "school_generator.h"

namespace {

constexpr std::uint64_t kSeed = 20240906;
constexpr std::size_t kSampleClassTarget = 30;

// The section of the sample class: a grade 10 English section of about 30 students
// whose code holds no other section's code and whose surnames hold no comma.
std::string chooseSampleSection(const tl::demo::School& school) {
    std::string best;
    std::size_t bestDistance = 1000;
    for (const auto& [code, members] : school.sections) {
        if (code.rfind("ENG2D1-", 0) != 0) continue;
        bool holdsOther = false;
        for (const auto& [other, unused] : school.sections)
            if (other != code && other.find(code) != std::string::npos) holdsOther = true;
        bool comma = false;
        for (std::size_t i : members)
            if (school.students[i].lastName.find(',') != std::string::npos) comma = true;
        if (holdsOther || comma) continue;
        const std::size_t n = members.size();
        const std::size_t distance =
            n > kSampleClassTarget ? n - kSampleClassTarget : kSampleClassTarget - n;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = code;
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tl_make_demo_school MASTER_FILE_PATH TEACHER_FOLDER\n";
        return 2;
    }
    const std::string masterPath = argv[1];
    const std::string teacherFolder = argv[2];

    tl::demo::SchoolPlan plan;
    plan.seed = kSeed;
    plan.studentsPerGrade = 400;
    const tl::demo::School school = tl::demo::makeSchool(plan);
    std::error_code ec;
    const auto masterFolder = std::filesystem::path(masterPath).parent_path();
    if (!masterFolder.empty()) std::filesystem::create_directories(masterFolder, ec);
    if (!tl::writeFileAtomically(masterPath, school.enrolmentText())) {
        std::cerr << "tl_make_demo_school: cannot write the master file " << masterPath << "\n";
        return 1;
    }

    // The file as the class picker reads it.
    const auto lines = tl::readMasterStudentLines(masterPath);
    const auto codes = lines ? tl::collectClassSections(*lines) : std::nullopt;
    if (!codes || codes->empty()) {
        std::cerr << "tl_make_demo_school: the master file " << masterPath
                  << " does not read back with its class sections\n";
        return 1;
    }
    const std::string code = chooseSampleSection(school);
    auto cls =
        code.empty() ? std::nullopt : tl::matchStudentsToSections(*lines, {code}, tl::kMaxStudents);
    if (!cls || cls->size() != school.sections.at(code).size()) {
        std::cerr << "tl_make_demo_school: no section fits the sample class\n";
        return 1;
    }
    tl::sortByName(*cls);
    tl::demo::Random rnd(kSeed);
    tl::demo::EntryPlan entries;
    entries.comments = tl::demo::demoLibraryBands();
    entries.minComments = 2;
    entries.maxComments = 3;
    entries.untouchedPercent = 33;  // the teacher is a third of the way from done
    entries.flagPercent = 10;
    entries.freeFormPercent = 3;
    tl::demo::fillEntries(rnd, *cls, entries);

    std::filesystem::create_directories(teacherFolder, ec);
    const std::string classPath =
        (std::filesystem::path(teacherFolder) / (tl::alphanumericOnly(code) + ".tlc")).string();
    if (const tl::SaveResult saved = tl::saveClass(classPath, *cls); !saved.written()) {
        std::cerr << "tl_make_demo_school: cannot write the class file " << classPath << ": "
                  << saved.notice.value_or(tl::Notice{}).text << "\n";
        return 1;
    }
    std::cout << "Master file: " << masterPath << " (" << lines->size() << " students, "
              << codes->size() << " class sections)\n"
              << "Sample class: " << classPath << " (section " << code << ", " << cls->size()
              << " students)\n";
    return 0;
}
