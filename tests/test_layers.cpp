// The layer map's mechanical rules, checked over the source tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
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

std::string Folder_Of(const std::string& path) { return path.substr(0, path.find('/')); }

// Each folder of src/ and the folders it may include, lowest first. The rows
// of src/README.md and of src/CMakeLists.txt say the same.
const std::map<std::string, std::set<std::string>> ROWS = {
    {"platform", {}},
    {"base", {"platform"}},
    {"pixels", {"platform", "base"}},
    {"artdb", {"platform", "base", "pixels"}},
    {"templates", {"platform", "base", "pixels", "artdb"}},
    {"model", {"platform", "base", "pixels", "artdb", "templates"}},
    {"render", {"platform", "base", "pixels", "artdb", "templates", "model"}},
    {"text", {"platform", "base", "pixels", "artdb", "templates", "model", "render"}},
    {"images", {"platform", "base", "pixels", "artdb", "templates", "model", "render"}},
    {"persist",
     {"platform", "base", "pixels", "artdb", "templates", "model", "render", "text", "images"}},
    {"print",
     {"platform", "base", "pixels", "artdb", "templates", "model", "render", "text", "images",
      "persist"}},
    {"tracks",
     {"platform", "base", "pixels", "artdb", "templates", "model", "render", "text", "images"}},
    {"paint", {"platform", "base", "pixels", "artdb", "templates", "model", "render", "images"}},
    {"ui",
     {"platform", "base", "pixels", "artdb", "templates", "model", "render", "text", "images",
      "persist", "print", "tracks", "paint"}},
    {"shell",
     {"platform", "base", "pixels", "artdb", "templates", "model", "render", "text", "images",
      "persist", "print", "tracks", "paint", "ui"}},
};

std::string Read_File(const fs::path& p) {
    std::ifstream in(p);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The words in backticks that end in '/', without the slash.
std::set<std::string> Folders_In(const std::string& text) {
    std::set<std::string> out;
    for (size_t a = text.find('`'); a != std::string::npos; a = text.find('`', a + 1)) {
        size_t b = text.find('`', a + 1);
        if (b == std::string::npos) break;
        std::string w = text.substr(a + 1, b - a - 1);
        if (w.size() > 1 && w.back() == '/') out.insert(w.substr(0, w.size() - 1));
        a = b;
    }
    return out;
}

}  // namespace

// Qt only in platform/ (and app/); no include of app/; every quoted include
// names a folder of the map, one its own row allows, so no two folders
// include each other.
TEST(Layers, EveryFolderIncludesOnlyItsRow) {
    for (const a_include& i : Includes_Under("src")) {
        EXPECT_EQ(i.target.find("app/"), std::string::npos) << i.file << " includes " << i.target;
        if (i.angled) {
            EXPECT_FALSE(Is_Qt(i) && i.file.rfind("src/platform/", 0) != 0)
                << i.file << " includes " << i.target;
            continue;
        }
        std::string from = Folder_Of(i.file.substr(4)), to = Folder_Of(i.target);
        ASSERT_TRUE(ROWS.count(from)) << i.file << " is in a folder the map does not know";
        EXPECT_TRUE(to == from || ROWS.at(from).count(to))
            << i.file << " includes " << i.target << ", above its row";
    }
}

// Each row of the README's table ("| `folder/` | holds | `a/`, `b/` |") and
// each row of the build's libraries says what the table above says.
TEST(Layers, ReadmeAndBuildMirrorTheRows) {
    fs::path root(CIRQUEL_SOURCE_DIR);
    std::istringstream readme(Read_File(root / "src/README.md"));
    std::string cmake = Read_File(root / "src/CMakeLists.txt");
    std::set<std::string> seen;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| `", 0) != 0) continue;
        size_t c1 = line.find('|', 1), c2 = line.find('|', c1 + 1), c3 = line.find('|', c2 + 1);
        ASSERT_NE(c3, std::string::npos) << line;
        std::set<std::string> name = Folders_In(line.substr(0, c1));
        ASSERT_EQ(name.size(), 1u) << line;
        std::string folder = *name.begin();
        ASSERT_TRUE(ROWS.count(folder)) << folder;
        EXPECT_EQ(Folders_In(line.substr(c2, c3 - c2)), ROWS.at(folder)) << "README row " << folder;
        seen.insert(folder);
    }
    EXPECT_EQ(seen.size(), ROWS.size());
    for (const auto& [folder, row] : ROWS) {
        if (folder == "platform") continue;
        std::string key = "set(CIRQUEL_ROW_" + folder;
        size_t a = cmake.find(key);
        ASSERT_NE(a, std::string::npos) << key;
        std::istringstream words(cmake.substr(a + key.size(), cmake.find(')', a) - a - key.size()));
        std::set<std::string> got(std::istream_iterator<std::string>(words), {});
        EXPECT_EQ(got, row) << "build row " << folder;
    }
}
