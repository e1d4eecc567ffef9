#include "platform/linux/xdg_autostart.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

TEST(XdgAutostartTest, EntryPathFollowsXdgConfigHome) {
    struct Case {
        const char* configHome;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"/cfg", "/cfg/autostart/amperlog.desktop"},
        {nullptr, "/home/u/.config/autostart/amperlog.desktop"},
        {"", "/home/u/.config/autostart/amperlog.desktop"},
        // A relative value is to be ignored.
        {"cfg", "/home/u/.config/autostart/amperlog.desktop"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutostartEntryPath(c.configHome, "/home/u"), fs::path(c.expected))
            << (c.configHome ? c.configHome : "(unset)");
    }
}

// The Exec line as the file holds it: quoted, with the quoting's escapes and the file's own
// backslash escapes on top, and % doubled.
TEST(XdgAutostartTest, ExecQuotesThePath) {
    struct Case {
        std::string path;
        std::string exec;
    };
    const std::vector<Case> cases = {
        {"/usr/bin/amperlog", R"("/usr/bin/amperlog")"},
        {"/home/a b/アンペア/amperlog", R"("/home/a b/アンペア/amperlog")"},
        {R"(/opt/50%/"q"/$x/`b`/back\slash/amperlog)",
         R"("/opt/50%%/\\"q\\"/\\$x/\\`b\\`/back\\\\slash/amperlog")"},
    };
    for (const Case& c : cases) {
        const std::string text = AutostartEntryText(c.path);
        EXPECT_NE(text.find("\nExec=" + c.exec + "\n"), std::string::npos) << text;
    }
    // Neither can stand in a desktop entry.
    EXPECT_EQ(AutostartEntryText("/opt/\xff/amperlog"), "");
    EXPECT_EQ(AutostartEntryText("/opt/a\nb/amperlog"), "");
}

TEST(XdgAutostartTest, OnWritesTheEntryAndOffRemovesIt) {
    test::TempFolder folder;
    const fs::path entry = folder / "config/autostart/amperlog.desktop";
    const fs::path exe = folder / "a b/アンペア/amperlog";
    XdgAutostart login(entry, exe);
    EXPECT_FALSE(login.IsOn());
    ASSERT_TRUE(login.Set(true));
    EXPECT_TRUE(login.IsOn());
    EXPECT_EQ(test::ReadFileBytes(entry), "[Desktop Entry]\n"
                                          "Type=Application\n"
                                          "Name=Amperlog\n"
                                          "Exec=\"" +
                                              exe.string() +
                                              "\"\n"
                                              "Icon=amperlog\n"
                                              "Terminal=false\n"
                                              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), {}), 1)
        << "more than the entry in its folder";
    ASSERT_TRUE(login.Set(false));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(login.IsOn());
    EXPECT_TRUE(login.Set(false));
}

// An entry the user switched off, as a desktop's settings do, reads off; on overwrites it.
TEST(XdgAutostartTest, AnEntrySwitchedOffReadsOff) {
    struct Case {
        const char* text;
        bool on;
    };
    const std::vector<Case> cases = {
        {"[Desktop Entry]\nExec=amperlog\n", true},
        {"[Desktop Entry]\nHidden=true\n", false},
        {"[Desktop Entry]\r\nHidden = true\r\n", false},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nHidden=false\n", true},
        {"[Desktop Entry]\nExec=amperlog\n[Desktop Action x]\nHidden=true\n", true},
    };
    test::TempFolder folder;
    XdgAutostart login(folder / "amperlog.desktop", "/usr/bin/amperlog");
    for (const Case& c : cases) {
        test::WriteFileBytes(folder / "amperlog.desktop", c.text);
        EXPECT_EQ(login.IsOn(), c.on) << c.text;
        ASSERT_TRUE(login.Set(true));
        EXPECT_TRUE(login.IsOn()) << c.text;
    }
}

TEST(XdgAutostartTest, APathThatCannotBeWrittenLeavesNoEntry) {
    test::TempFolder folder;
    XdgAutostart login(folder / "amperlog.desktop", "/opt/\xff/amperlog");
    EXPECT_FALSE(login.Set(true));
    EXPECT_FALSE(fs::exists(folder / "amperlog.desktop"));
}

} // namespace
} // namespace amperlog
