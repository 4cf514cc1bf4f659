// The layer map's mechanical rules, checked over the source tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct a_include {
    std::string file;  // relative to the source root
    std::string target;
    bool angled;
};

std::vector<a_include> Includes_Under(const std::string& folder) {
    std::vector<a_include> out;
    fs::path root(CIRQUEL_SOURCE_DIR);
    for (const auto& e : fs::recursive_directory_iterator(root / folder)) {
        std::string ext = e.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(e.path());
        std::string line;
        while (std::getline(in, line)) {
            size_t p = line.find_first_not_of(" \t");
            if (p == std::string::npos || line.compare(p, 8, "#include") != 0) continue;
            size_t open = line.find_first_of("<\"", p + 8);
            if (open == std::string::npos) continue;
            char close = line[open] == '<' ? '>' : '"';
            size_t end = line.find(close, open + 1);
            if (end == std::string::npos) continue;
            out.push_back({fs::relative(e.path(), root).string(),
                           line.substr(open + 1, end - open - 1), close == '>'});
        }
    }
    return out;
}

bool Is_Qt(const a_include& i) { return i.angled && (i.target.rfind("Q", 0) == 0); }

}  // namespace

TEST(Layers, QtOnlyInPlatformAndApp) {
    for (const a_include& i : Includes_Under("src"))
        if (i.file.rfind("src/platform/", 0) != 0) {
            EXPECT_FALSE(Is_Qt(i)) << i.file << " includes " << i.target;
        }
}

TEST(Layers, PlatformIncludesNothingElseOfOurs) {
    for (const a_include& i : Includes_Under("src/platform"))
        if (!i.angled) {
            EXPECT_EQ(i.target.rfind("platform/", 0), 0u) << i.file << " includes " << i.target;
        }
}

TEST(Layers, CoreNeverIncludesApp) {
    for (const a_include& i : Includes_Under("src"))
        EXPECT_EQ(i.target.find("app/"), std::string::npos) << i.file << " includes " << i.target;
}

TEST(Layers, ShellHeadersOnlyFromShellExceptLeaves) {
    for (const a_include& i : Includes_Under("src")) {
        if (i.angled || i.target.rfind("shell/", 0) != 0 || i.file.rfind("src/shell/", 0) == 0) continue;
        bool leaf = i.target == "shell/messages.h" || i.target == "shell/prefs.h" ||
                    i.target == "shell/string_ids.h";
        EXPECT_TRUE(leaf) << i.file << " includes " << i.target;
    }
}

TEST(Layers, ShellLeavesIncludeOnlyPlatform) {
    for (const a_include& i : Includes_Under("src/shell")) {
        bool leaf = i.file.find("shell/messages.") != std::string::npos ||
                    i.file.find("shell/prefs.") != std::string::npos ||
                    i.file.find("shell/string_ids.") != std::string::npos;
        if (!leaf || i.angled) continue;
        bool ok = i.target.rfind("platform/", 0) == 0 || i.target == "shell/messages.h" ||
                  i.target == "shell/prefs.h" || i.target == "shell/string_ids.h";
        EXPECT_TRUE(ok) << i.file << " includes " << i.target;
    }
}
