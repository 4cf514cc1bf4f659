// The desktop's file-type registration: the files written, read back the way
// the desktop reads them.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "platform/files.h"
#include "platform/process.h"
#include "shell/registry.h"

namespace {

std::string Read(const std::string& path) {
    std::vector<uint8_t> b;
    if (!File_ReadAll(path, b)) return {};
    return std::string(b.begin(), b.end());
}

// group -> key -> value of a desktop entry; fails on a line that is neither.
std::map<std::string, std::map<std::string, std::string>> Parse_Desktop(const std::string& text) {
    std::map<std::string, std::map<std::string, std::string>> out;
    std::istringstream in(text);
    std::string line, group;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            group = line.substr(1, line.size() - 2);
            EXPECT_EQ(out.count(group), 0u) << group;
            out[group];
            continue;
        }
        size_t eq = line.find('=');
        EXPECT_NE(eq, std::string::npos) << line;
        EXPECT_FALSE(group.empty()) << line;
        if (eq == std::string::npos) continue;
        EXPECT_EQ(out[group].count(line.substr(0, eq)), 0u) << line;
        out[group][line.substr(0, eq)] = line.substr(eq + 1);
    }
    return out;
}

}  // namespace

TEST(Registry, WritesEntryMimePackageAndIconsOnceAndTheDesktopReadsThem) {
    std::string home = Temp_Folder() + "/cirquel-registry-test";
    (void)File_Remove_Tree(home);
    std::string exe = "/opt/my apps/cirquel";
    EXPECT_EQ(Init_Registry(home, exe), 6);
    EXPECT_EQ(Init_Registry(home, exe), 0);  // unchanged files are left alone

    auto entry = Parse_Desktop(Read(home + "/" + REG_DESKTOP_FILE));
    auto& main = entry["Desktop Entry"];
    EXPECT_EQ(main["Type"], "Application");
    EXPECT_EQ(main["Name"], "Cirquel");
    EXPECT_EQ(main["Icon"], "cirquel");
    EXPECT_EQ(main["Exec"], "\"/opt/my apps/cirquel\" %f");
    EXPECT_EQ(main["MimeType"], "application/x-cirquel-project;");
    // An art database starts the program without a document: no file is handed over.
    auto art = Parse_Desktop(Read(home + "/" + REG_ART_DESKTOP_FILE))["Desktop Entry"];
    EXPECT_EQ(art["Exec"], "\"/opt/my apps/cirquel\"");
    EXPECT_EQ(art["MimeType"], "application/x-cirquel-art;");
    EXPECT_EQ(art["NoDisplay"], "true");
    EXPECT_EQ(entry["Desktop Action Print"]["Exec"], "\"/opt/my apps/cirquel\" --print %f");
    EXPECT_EQ(Parse_Desktop(Registry_Desktop_Entry("/usr/bin/cirquel"))["Desktop Entry"]["Exec"],
              "/usr/bin/cirquel %f");
    // A quote in the path is escaped inside the quotes, the backslash doubled.
    EXPECT_EQ(Parse_Desktop(Registry_Desktop_Entry("/a\"b/c"))["Desktop Entry"]["Exec"],
              "\"/a\\\\\"b/c\" %f");

    std::string mime = Read(home + "/" + REG_MIME_FILE);
    EXPECT_NE(mime.find("<glob pattern=\"*.cd4\" case-sensitive=\"false\"/>"), std::string::npos);
    EXPECT_NE(mime.find("value=\"0xCDCD\""), std::string::npos);
    EXPECT_NE(Read(home + "/" + REG_ICON_FILE).find("<svg"), std::string::npos);

    // The shared-mime-info compiler reads the package as the desktop will.
    if (!Program_Run("update-mime-database", {home + "/mime"})) {
        (void)File_Remove_Tree(home);
        GTEST_SKIP() << "update-mime-database is not installed";
    }
    std::string globs = Read(home + "/mime/globs2");
    EXPECT_NE(globs.find("application/x-cirquel-project:*.cd4"), std::string::npos) << globs;
    EXPECT_NE(globs.find("application/x-cirquel-art:*.art4"), std::string::npos) << globs;
    std::string types = Read(home + "/mime/types");
    EXPECT_NE(types.find("application/x-cirquel-project"), std::string::npos);
    std::string magic = Read(home + "/mime/magic");
    EXPECT_NE(magic.find("application/x-cirquel-project"), std::string::npos);
    EXPECT_NE(magic.find("\xCD\xCD"), std::string::npos);
    (void)File_Remove_Tree(home);
}
