// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Shared by the fuzz targets.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"
#include "core/student_record.h"

namespace tl::fuzz {

// One scratch folder per process, in memory where possible, removed at exit.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        path_ = base / ("tl_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline const std::filesystem::path& scratch() {
    static const ScratchFolder folder;
    return folder.path();
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The records as saving and reading the class file gives them back: no value
// can carry a double quote or a line break into the file, and the master's
// field 14 is kept in memory only.
inline std::vector<StudentRecord> asReadBack(std::vector<StudentRecord> students) {
    auto unquotable = [](std::string value) {
        for (char& c : value) {
            if (c == '"') c = '\'';
            if (c == '\r' || c == '\n') c = ' ';
        }
        return value;
    };
    for (StudentRecord& s : students) {
        for (std::string* value :
             {&s.classCode, &s.lastName, &s.firstName, &s.studentNumber, &s.gender,
              &s.trilliumField8, &s.esl, &s.eld, &s.mark, &s.interview, &s.freeFormText}) {
            *value = unquotable(*value);
        }
        for (std::string& code : s.comments)
            code = unquotable(code);
        s.trilliumField14.clear();
    }
    return students;
}

// The ranges as writing and reading the favourites file gives them back.
inline std::vector<InitialValueRange> asReadBack(std::vector<InitialValueRange> ranges) {
    for (InitialValueRange& r : ranges) {
        for (std::string& code : r.codes)
            std::replace(code.begin(), code.end(), '"', '\'');
        for (std::string& skill : r.skills)
            std::replace(skill.begin(), skill.end(), '"', '\'');
    }
    return ranges;
}

}  // namespace tl::fuzz
