#include "settings/profile_file.h"
#include "temp_folder.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempFolder;
using test::WriteFileBytes;

constexpr const char* kMissing = nullptr;

// Exact bytes after one write: every line but the one stored is kept as it was.
TEST(ProfileFile, WriteKeepsEveryOtherByte) {
    struct Case {
        const char* before; // kMissing: no file
        const char* section;
        const char* key;
        const char* value;
        const char* after;
    } cases[] = {
        {kMissing, "Work", "SEP", "8", "[Work]\r\nSEP=8\r\n"},
        {"", "Work", "SEP", "8", "[Work]\r\nSEP=8\r\n"},
        {"; c\r\n[Work]\r\n  a = 1 \r\nZ=9\r\n", "WORK", "A", "5",
         "; c\r\n[Work]\r\n  a =5\r\nZ=9\r\n"},
        {"[Work]\nA=1\nB=2\n", "Work", "A", "5", "[Work]\nA=5\nB=2\n"},
        {"[Work]\rA=1\rB=2\r", "Work", "C", "3", "[Work]\rA=1\rB=2\rC=3\r\n"},
        {"[Work]\r\nA=1\r\n\r\n[Other]\r\nX=1\r\n", "Work", "B", "2",
         "[Work]\r\nA=1\r\nB=2\r\n\r\n[Other]\r\nX=1\r\n"},
        {"[Work]\r\nA=1\r\n; end\r\n\r\n[Other]\r\n", "Work", "B", "2",
         "[Work]\r\nA=1\r\n; end\r\nB=2\r\n\r\n[Other]\r\n"},
        {"[Work]\r\n\r\n[Other]\r\n", "Work", "A", "1", "[Work]\r\nA=1\r\n\r\n[Other]\r\n"},
        {"[Work]\r\nA=1\r\n", "Windows", "Main", "1,2,3,4",
         "[Work]\r\nA=1\r\n[Windows]\r\nMain=1,2,3,4\r\n"},
        {"[Work]\r\nA=1", "Windows", "Main", "1", "[Work]\r\nA=1\r\n[Windows]\r\nMain=1\r\n"},
        {"[Work]\r\nA=1", "Work", "B", "2", "[Work]\r\nA=1\r\nB=2\r\n"},
        {"[Work]", "Work", "A", "1", "[Work]\r\nA=1\r\n"},
        {"\xEF\xBB\xBF[Work]\r\nA=1\r\n", "Work", "A", "2", "\xEF\xBB\xBF[Work]\r\nA=2\r\n"},
        {"[Work]\r\nA\r\nA=5\r\n", "Work", "A", "7", "[Work]\r\nA=7\r\nA=5\r\n"},
        {"[Work]\r\nA=1\r\n[Work]\r\nB=3\r\n", "Work", "B", "4",
         "[Work]\r\nA=1\r\nB=4\r\n[Work]\r\nB=3\r\n"},
        {"A=1\r\nB=2\r\n", "Work", "A", "5", "A=1\r\nB=2\r\n[Work]\r\nA=5\r\n"},
        {"A=1\r\n[Work]\r\n", "", "C", "2", "A=1\r\nC=2\r\n[Work]\r\n"},
        {"[Work]\r\n", "", "C", "2", "C=2\r\n[Work]\r\n"},
        {"[Work]\r\nLogtime=1\r\n", "Work", "LogTime", "2", "[Work]\r\nLogtime=2\r\n"},
        {"[Work]\r\nA= 5\r\n", "Work", "A", "5", "[Work]\r\nA=5\r\n"},
        {"[Work]\r\nA=1\r\n", "Work", "A", "   ", "[Work]\r\nA=\"   \"\r\n"},
        {"[Work]\r\nA=1\r\n", "Work", "A", "'x'", "[Work]\r\nA=\"'x'\"\r\n"},
        {"[Work]\r\nA=1\r\n", " Work ", " A ", "x", "[Work]\r\nA=x\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before == kMissing ? "<missing>" : c.before);
        TempFolder folder;
        const auto file = folder / "a.ini";
        if (c.before != kMissing) {
            WriteFileBytes(file, c.before);
        }
        ASSERT_TRUE(WriteProfileText(c.section, c.key, c.value, file));
        EXPECT_EQ(ReadFileBytes(file), c.after);
        EXPECT_EQ(ReadProfileText(c.section, c.key, file), c.value);
        EXPECT_FALSE(fs::exists(folder / "a.ini.tmp"));
    }
}

TEST(ProfileFile, EveryValueReadsBackAsWritten) {
    const char* values[] = {"   ",
                            " x",
                            "x ",
                            "\tx\t",
                            "'x'",
                            "\"x\"",
                            "\"",
                            "'",
                            "\"x'",
                            "",
                            "x\"y",
                            "a b",
                            "\"   \"",
                            "''",
                            "8",
                            "2026/12/06 9:05:07",
                            "1200,900,4800,3600",
                            "=",
                            "[Work]",
                            "; no comment"};
    TempFolder folder;
    const auto file = folder / "a.ini";
    ProfileFile profile(file);
    for (const char* value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(profile.Write("Work", "A", value));
        EXPECT_EQ(profile.Read("Work", "A"), value);
        EXPECT_EQ(ReadProfileText("Work", "A", file), value); // from the disk, not the cache
    }
}

TEST(ProfileFile, ReadsAreCutAt255Characters) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string ascii(300, 'x');
    ASSERT_TRUE(WriteProfileText("Work", "A", ascii, file));
    EXPECT_EQ(ReadProfileText("Work", "A", file), ascii.substr(0, 255));

    std::string kana;
    for (int i = 0; i < 300; ++i) {
        kana += "\xE3\x81\x82"; // one three-byte character, never split
    }
    ASSERT_TRUE(WriteProfileText("Work", "B", " " + kana, file)); // quoted on disk
    EXPECT_EQ(ReadProfileText("Work", "B", file), " " + kana.substr(0, std::size_t{254} * 3));
}

TEST(ProfileFile, NamesAreCutAt128Characters) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string longKey(140, 'k');
    ASSERT_TRUE(WriteProfileText("Work", longKey, "1", file));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\n" + std::string(128, 'k') + "=1\r\n");
    EXPECT_EQ(ReadProfileText("Work", longKey, file), "1");
    EXPECT_EQ(ReadProfileText("Work", std::string(128, 'K'), file), "1");
}

TEST(ProfileFile, UnchangedWriteTouchesNothing) {
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
    struct Case {
        const char* file;
        const char* key;
        const char* value;
    } cases[] = {
        {"[Work]\r\nA=5\r\n", "A", "5"},
        {"[work]\nLOGTIME=9:05\n", "Logtime", "9:05"},
        {"[Work]\r\nA=\"   \"\r\n", "A", "   "},
        {"[Work]\r\n  A =\r\n", "a", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder folder;
        const auto file = folder / "a.ini";
        WriteFileBytes(file, c.file);
        fs::last_write_time(file, longAgo);
        const auto pinned = fs::last_write_time(file); // as precise as the file system keeps it
        ProfileFile profile(file);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(profile.Write("Work", c.key, c.value));
        }
        EXPECT_EQ(fs::last_write_time(file), pinned);
        EXPECT_EQ(ReadFileBytes(file), c.file);
        EXPECT_FALSE(fs::exists(folder / "a.ini.tmp"));
    }
}

TEST(ProfileFile, SeesEditsMadeBehindItsBack) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteFileBytes(file, "[Work]\r\nA=1\r\n");
    ProfileFile profile(file);
    ASSERT_EQ(profile.Read("Work", "A"), "1");

    // Same size and the same time stamp: an edit within one tick of the file clock.
    const auto stamp = fs::file_time_type::clock::now() + std::chrono::minutes(1);
    fs::last_write_time(file, stamp);
    ASSERT_EQ(profile.Read("Work", "A"), "1");
    WriteFileBytes(file, "[Work]\r\nA=2\r\n");
    fs::last_write_time(file, stamp);
    EXPECT_EQ(profile.Read("Work", "A"), "2");

    WriteFileBytes(file, "[Work]\r\nA=33\r\n");
    EXPECT_EQ(profile.Read("Work", "A"), "33");

    // Replaced by another program the way we replace it ourselves.
    WriteFileBytes(folder / "other.ini", "[Work]\r\nA=4\r\nB=5\r\n");
    fs::rename(folder / "other.ini", file);
    EXPECT_EQ(profile.Read("Work", "A"), "4");

    // Our next write keeps what the other program stored.
    ASSERT_TRUE(profile.Write("Work", "C", "6"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=4\r\nB=5\r\nC=6\r\n");

    fs::remove(file);
    EXPECT_EQ(profile.Read("Work", "A"), "");
    ASSERT_TRUE(profile.Write("Work", "A", "7"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=7\r\n");
}

TEST(ProfileFile, AWriteFoundInPlaceIsMadeAgainOnceTheFileChanged) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteFileBytes(file, "[Work]\r\nA=1\r\nB=2\r\n");
    fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1));
    ProfileFile profile(file);
    ASSERT_TRUE(profile.Write("Work", "A", "1"));
    ASSERT_TRUE(profile.Write("Work", "A", "1"));

    // Changed by another program: the same write is due again.
    WriteFileBytes(file, "[Work]\r\nA=9\r\nB=2\r\n");
    ASSERT_TRUE(profile.Write("Work", "A", "1"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=1\r\nB=2\r\n");

    // Changed by ourselves through another key, then by hand back to the old bytes.
    ASSERT_TRUE(profile.Write("Work", "B", "3"));
    ASSERT_TRUE(profile.Write("Work", "A", "1"));
    WriteFileBytes(file, "[Work]\r\nA=5\r\nB=3\r\n");
    ASSERT_TRUE(profile.Write("Work", "A", "1"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=1\r\nB=3\r\n");

    // Removed: written afresh.
    fs::remove(file);
    ASSERT_TRUE(profile.Write("Work", "A", "1"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=1\r\n");
    // The same key in another section is another write.
    ASSERT_TRUE(profile.Write("Main", "A", "1"));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=1\r\n[Main]\r\nA=1\r\n");
}

TEST(ProfileFile, AHoldLooksAtTheFileOnceUntilReleased) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    WriteFileBytes(file, "[Work]\r\nA=1\r\n");
    ProfileFile profile(file);
    profile.Hold();
    ASSERT_EQ(profile.Read("Work", "A"), "1");
    WriteFileBytes(file, "[Work]\r\nA=2\r\n");
    EXPECT_EQ(profile.Read("Work", "A"), "1") << "held: not looked at again";
    // Its own writes it sees at once.
    ASSERT_TRUE(profile.Write("Work", "B", "3"));
    EXPECT_EQ(profile.Read("Work", "B"), "3");
    profile.Release();

    WriteFileBytes(file, "[Work]\r\nA=4\r\n");
    EXPECT_EQ(profile.Read("Work", "A"), "4") << "released: looked at again";
    profile.Hold();
    WriteFileBytes(file, "[Work]\r\nA=5\r\n");
    EXPECT_EQ(profile.Read("Work", "A"), "5") << "the first call of a hold looks";
    profile.Release();
}

TEST(ProfileFile, WritesReachTheDiskAtOnce) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    ProfileFile profile(file);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(profile.Write("Work", "BattPercent", std::to_string(i) + "%"));
        EXPECT_EQ(ReadProfileText("Work", "BattPercent", file), std::to_string(i) + "%");
    }
}

TEST(ProfileFile, RefusesWhatCouldNotBeReadBack) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string before = "[Work]\r\nA=1\r\n";
    WriteFileBytes(file, before);
    EXPECT_FALSE(WriteProfileText("Work", "a=b", "1", file));
    EXPECT_FALSE(WriteProfileText("Work", "[x]", "1", file));
    EXPECT_FALSE(WriteProfileText("Work", "A", "1\r\n[Windows]", file));
    EXPECT_FALSE(WriteProfileText("Wo\nrk", "A", "1", file));
    EXPECT_EQ(ReadFileBytes(file), before);
    // A NUL ends a text, as it does for the platform's functions.
    ASSERT_TRUE(WriteProfileText("Work", "A", std::string("2\0junk", 6), file));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nA=2\r\n");
}

// A key before the first section goes to the very start of a file; there the reader takes
// leading bytes EF BB BF for a byte-order mark, and the key could never be found again.
TEST(ProfileFile, RefusesAKeyThatStartsLikeAByteOrderMark) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string key = "\xEF\xBB\xBFK";
    EXPECT_FALSE(WriteProfileText("", key, "1", file));
    EXPECT_FALSE(fs::exists(file));
    const std::string before = "[Work]\r\nA=1\r\n";
    WriteFileBytes(file, before);
    EXPECT_FALSE(WriteProfileText("", key, "1", file));
    EXPECT_EQ(ReadFileBytes(file), before);
}

TEST(ProfileFile, ReadOnlyFileAndMissingFolderAreLeftAlone) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string before = "[Work]\r\nA=1\r\n";
    WriteFileBytes(file, before);
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(WriteProfileText("Work", "A", "2", file));
    EXPECT_EQ(ReadFileBytes(file), before);
    EXPECT_EQ(ReadProfileText("Work", "A", file), "1");

    EXPECT_FALSE(WriteProfileText("Work", "A", "2", folder / "no" / "a.ini"));
    EXPECT_EQ(ReadProfileText("Work", "A", folder / "no" / "a.ini"), "");
    EXPECT_EQ(ReadProfileText("Work", "A", folder.Path()), ""); // a folder, not a file
    EXPECT_FALSE(WriteProfileText("Work", "A", "2", folder.Path()));
}

TEST(ProfileFile, WritesThroughALinkToItsTarget) {
    TempFolder folder;
    const auto target = folder / "real.ini";
    const auto link = folder / "a.ini";
    WriteFileBytes(target, "[Work]\r\nA=1\r\n");
    std::error_code error;
    fs::create_symlink(target, link, error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here";
    }
    ASSERT_TRUE(WriteProfileText("Work", "A", "2", link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target), "[Work]\r\nA=2\r\n");
}

TEST(ProfileFile, HostileFilesAreReadAndKept) {
    TempFolder folder;
    const auto file = folder / "a.ini";

    std::mt19937 random(20261206);
    std::string binary(std::size_t{256} * 1024, '\0');
    for (char& c : binary) {
        c = static_cast<char>(random() & 0xFF);
    }
    WriteFileBytes(file, binary);
    EXPECT_EQ(ReadProfileText("Work", "SEP", file), "");
    ASSERT_TRUE(WriteProfileText("Work", "SEP", "8", file));
    EXPECT_EQ(ReadFileBytes(file).substr(0, binary.size()), binary);
    EXPECT_EQ(ReadProfileText("Work", "SEP", file), "8");

    const std::string withNul("[Work]\r\nA=1\0 2\r\nB\0=3\r\nC=4\r\n", 27);
    WriteFileBytes(file, withNul);
    EXPECT_EQ(ReadProfileText("Work", "A", file), "1");
    EXPECT_EQ(ReadProfileText("Work", "C", file), "4");
    ASSERT_TRUE(WriteProfileText("Work", "C", "5", file));
    EXPECT_EQ(ReadFileBytes(file), std::string("[Work]\r\nA=1\0 2\r\nB\0=3\r\nC=5\r\n", 27));

    const std::string junk(std::size_t{10} * 1000 * 1000, 'x');
    const std::string longLine = "[Work]\r\nJunk=" + junk + "\r\nA=1\r\n";
    WriteFileBytes(file, longLine);
    EXPECT_EQ(ReadProfileText("Work", "Junk", file), std::string(255, 'x'));
    EXPECT_EQ(ReadProfileText("Work", "A", file), "1");
    ASSERT_TRUE(WriteProfileText("Work", "A", "2", file));
    EXPECT_EQ(ReadFileBytes(file), "[Work]\r\nJunk=" + junk + "\r\nA=2\r\n");

    WriteFileBytes(file, "A=1\r\nB=2\r\n");
    EXPECT_EQ(ReadProfileText("Work", "A", file), "");
    EXPECT_EQ(ReadProfileText("", "A", file), "1");
}

// A file too large to keep is still read, by scanning, and never rewritten.
TEST(ProfileFile, OversizedFileIsReadButNotReplaced) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    std::string huge = "[Work]\r\nA=1\r\nQ=\"" + std::string(300'000, 'q') + "\"  \r\n";
    huge += "Pad=" + std::string(ProfileFile::kMaxLoadedBytes, ' ') + "p\r\n";
    huge += "[Windows]\r\nMain=1,2,3,4\r\n";
    WriteFileBytes(file, huge);

    ProfileFile profile(file);
    EXPECT_EQ(profile.Read("Work", "A"), "1");
    EXPECT_EQ(profile.Read("Work", "Q"), std::string(255, 'q'));
    EXPECT_EQ(profile.Read("Work", "Pad"), "p");
    EXPECT_EQ(profile.Read("Windows", "Main"), "1,2,3,4");
    EXPECT_EQ(profile.Read("Windows", "Editor"), "");
    EXPECT_FALSE(profile.Write("Work", "A", "2"));
    EXPECT_EQ(fs::file_size(file), huge.size());
    EXPECT_EQ(profile.Read("Work", "A"), "1");
}

// The monitor reads a dozen keys a second: a file too large to keep is scanned once per key
// while its time stamp stays, not at every read. So an edit that puts the old time stamp
// back goes unseen here, as it does for a file that is kept.
TEST(ProfileFile, OversizedFileIsScannedOncePerKey) {
    TempFolder folder;
    const auto file = folder / "a.ini";
    const std::string pad = "Pad=" + std::string(ProfileFile::kMaxLoadedBytes, ' ') + "p\r\n";
    WriteFileBytes(file, "[Work]\r\nA=1\r\n" + pad);
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(1);
    fs::last_write_time(file, stamp);

    ProfileFile profile(file);
    EXPECT_EQ(profile.Read("Work", "A"), "1");
    WriteFileBytes(file, "[Work]\r\nA=2\r\nB=3\r\n" + pad);
    fs::last_write_time(file, stamp);
    EXPECT_EQ(profile.Read("work", "a"), "1");
    EXPECT_EQ(profile.Read("Work", "B"), "3"); // a key not read before is scanned for

    fs::last_write_time(file, stamp + std::chrono::minutes(1));
    EXPECT_EQ(profile.Read("Work", "A"), "2");
}

} // namespace
} // namespace amperlog
