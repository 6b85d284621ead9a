#pragma once

// Shared by the fuzz targets.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/student_record.h"

namespace tl::fuzz {

// One scratch folder per process, in memory where possible, removed at exit.
inline const std::filesystem::path& scratch() {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path d = base / ("tl_fuzz_" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(scratch(), ignored);
        });
        return d;
    }();
    return dir;
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

}  // namespace tl::fuzz
