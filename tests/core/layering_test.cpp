// The folders of src/ depend downwards only: core <- platform <- favourites <-
// the window folders <- app. A window folder includes no other window folder,
// except the main window's, which opens the others through their frm_ headers.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/test_support.h"

namespace tl::test {
namespace {

constexpr int kWindowLayer = 3;

int layerOf(const std::string& folder) {
    if (folder == "core") return 0;
    if (folder == "platform") return 1;
    if (folder == "favourites" || folder == "checks") return 2;
    if (folder == "entry" || folder == "selection" || folder == "autofill" || folder == "export" ||
        folder == "import" || folder == "about" || folder == "ready") {
        return kWindowLayer;
    }
    if (folder == "app") return 4;
    return -1;
}

bool isQtHeader(const std::string& include) {
    return include.rfind("Q", 0) == 0 || include.rfind("qt", 0) == 0;
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

struct Include {
    std::string file;  // relative to src/
    std::string text;
    bool angled = false;
};

// Every #include under src/, read once.
const std::vector<Include>& sourceIncludes() {
    static const std::vector<Include> found = [] {
        const fs::path root = TL_SOURCE_DIR;
        static const std::regex directive(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re");
        std::vector<Include> all;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            std::ifstream in(entry.path());
            std::string line;
            std::smatch m;
            while (std::getline(in, line)) {
                if (std::regex_search(line, m, directive)) {
                    all.push_back(
                        {fs::relative(entry.path(), root).generic_string(), m[2], m[1] == "<"});
                }
            }
        }
        return all;
    }();
    return found;
}

// The sources built into the Qt-free core library, as src/CMakeLists.txt lists them.
std::set<std::string> coreLibrarySources(const fs::path& root) {
    std::ifstream in(root / "CMakeLists.txt");
    std::set<std::string> sources;
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        if (line.find("add_library(tallyleaf_core") != std::string::npos) {
            inside = true;
        } else if (inside && line.find(')') != std::string::npos) {
            break;
        } else if (inside) {
            const std::size_t start = line.find_first_not_of(' ');
            if (start != std::string::npos) sources.insert(line.substr(start));
        }
    }
    return sources;
}

TEST(Layering, TheRuleTable) {
    forEachRow("layering.tsv", [](const TableRow& row) {
        EXPECT_EQ(includeProblem(row["from"], row["include"], row["angled"] == "yes"),
                  row["problem"]);
    });
}

TEST(Layering, EveryIncludeUnderSrcKeepsTheLayers) {
    const std::vector<Include>& includes = sourceIncludes();
    ASSERT_GT(includes.size(), 100u) << "the scan found the sources";
    for (const Include& inc : includes) {
        const std::string folder = inc.file.substr(0, inc.file.find('/'));
        EXPECT_EQ(includeProblem(folder, inc.text, inc.angled), "") << inc.file << ": " << inc.text;
    }
}

TEST(Layering, TheCoreLibraryHasNoQt) {
    const std::set<std::string> core = coreLibrarySources(TL_SOURCE_DIR);
    ASSERT_GT(core.size(), 10u);
    for (const Include& inc : sourceIncludes()) {
        const std::string header = inc.file.substr(0, inc.file.rfind('.')) + ".cpp";
        if (!core.contains(inc.file) && !core.contains(header)) continue;
        EXPECT_FALSE(inc.angled && isQtHeader(inc.text)) << inc.file << ": " << inc.text;
    }
}

}  // namespace
}  // namespace tl::test
