// SPDX-License-Identifier: GPL-3.0-or-later

// The folders of src/ depend downwards only: core <- platform <- favourites <-
// the window folders <- app. A window folder includes no other window folder,
// except the main window's, which opens the others through their frm_ headers.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/test_support.h"

namespace tl::test {
namespace {

int layerOf(const std::string& folder) {
    static const std::map<std::string, int> layers = {
        {"core", 0},   {"platform", 1},  {"favourites", 2}, {"checks", 2},
        {"entry", 3},  {"selection", 3}, {"autofill", 3},   {"export", 3},
        {"import", 3}, {"about", 3},     {"ready", 3},      {"app", 4}};
    const auto it = layers.find(folder);
    return it == layers.end() ? -1 : it->second;
}

bool isQtHeader(const std::string& include) {
    return include.starts_with("Q") || include.starts_with("qt");
}

// Why a file in folder `from` may not include `include` (as written between
// the quotes or angle brackets), or "" when it may.
std::string includeProblem(const std::string& from, const std::string& include, bool angled) {
    if (include.find("..") != std::string::npos) return "climbs with ..";
    if (angled) return from == "core" && isQtHeader(include) ? "Qt in the core" : "";
    const std::size_t slash = include.find('/');
    if (slash == std::string::npos) return "";  // beside the including file
    const std::string to = include.substr(0, slash);
    if (to == from) return "";
    const int fromLayer = layerOf(from);
    const int toLayer = layerOf(to);
    if (fromLayer < 0 || toLayer < 0) return "unknown folder";
    if (from == "core") return "the core includes only itself";
    if (toLayer < fromLayer) return "";
    if (toLayer > fromLayer) return "includes a layer above";
    const bool opensWindow = include.compare(slash + 1, 4, "frm_") == 0;
    return from == "entry" && opensWindow ? "" : "includes a sibling window folder";
}

TEST(Layering, TheRuleTable) {
    forEachRow("layering.tsv", [](const TableRow& row) {
        EXPECT_EQ(includeProblem(row["from"], row["include"], row["angled"] == "yes"),
                  row["problem"]);
    });
}

TEST(Layering, EveryIncludeUnderSrcKeepsTheLayersAndTheCoreLibraryHasNoQt) {
    // The sources of the Qt-free core library, as src/CMakeLists.txt lists them.
    const fs::path root = TL_SOURCE_DIR;
    std::ifstream cmake(root / "CMakeLists.txt");
    const std::string text{std::istreambuf_iterator<char>(cmake), {}};
    const std::size_t start = text.find("add_library(tallyleaf_core");
    std::istringstream list(text.substr(start, text.find(')', start) - start));
    const std::set<std::string> core{std::istream_iterator<std::string>(list), {}};
    ASSERT_GT(core.size(), 10u);
    const std::regex directive(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re");
    int includes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".h" && ext != ".cpp") continue;
        const fs::path file = fs::relative(entry.path(), root);
        // A header is in the core library when its .cpp is.
        const bool qtFree =
            core.contains(fs::path(file).replace_extension(".cpp").generic_string());
        const std::string folder = file.begin()->string();
        std::ifstream in(entry.path());
        std::string line;
        std::smatch m;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, m, directive)) continue;
            ++includes;
            const bool angled = m[1] == "<";
            EXPECT_EQ(includeProblem(folder, m[2], angled), "") << file << ": " << m[2];
            EXPECT_FALSE(qtFree && angled && isQtHeader(m[2])) << file << ": " << m[2];
        }
    }
    EXPECT_GT(includes, 100) << "the scan found the sources";
}

}  // namespace
}  // namespace tl::test
