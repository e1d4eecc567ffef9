// The data edit window's file handling with files it did not write and a disk that fills up:
// "Sys.log" in Shift-JIS or broken UTF-8 is saved back byte for byte, and a save that cannot
// be completed leaves the file as it was, with no temporary beside it.
#include "editor/editor_session.h"
#include "platform/linux/utf8_text_codec.h"
#include "small_disk.h"
#include "temp_folder.h"

#include <gtest/gtest.h>
#include <string>

namespace amperlog::test {
namespace {

class HostileSysLog : public testing::TestWithParam<const char*> {};

TEST_P(HostileSysLog, IsSavedBackByteForByte) {
    TempFolder folder;
    const auto path = folder / "Sys.log";
    const std::string bytes = ReadFileBytes(TestDataDir() / "hostile" / GetParam());
    ASSERT_FALSE(bytes.empty());
    WriteFileBytes(path, bytes);

    const Utf8TextCodec codec;
    EditorSession session(path, codec);
    std::string text;
    ASSERT_EQ(session.Load(text), EditorSession::LoadState::Loaded);
    ASSERT_TRUE(session.Save(text));
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(Leftovers(folder.Path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Files, HostileSysLog,
                         testing::Values("sys_shift_jis.log", "sys_invalid_utf8.log"));

TEST(EditorDurability, SaveOnAFullDiskLeavesTheFileAsItWas) {
    TempFolder folder;
    SmallDisk disk(folder / "disk");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a small file system here (not root?)";
    }
    const auto path = folder / "disk" / "20240229.txt";
    const std::string before = "2/29 10:00:00,Batt,80%,4000,\r\n";
    WriteFileBytes(path, before);
    const Utf8TextCodec codec;
    EditorSession session(path, codec);
    std::string text;
    ASSERT_EQ(session.Load(text), EditorSession::LoadState::Loaded);

    disk.Fill();
    text += std::string(8192, 'x') + "\r\n";
    EXPECT_FALSE(session.Save(text));
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(Leftovers(folder / "disk"), std::vector<std::string>{});

    disk.Free();
    EXPECT_TRUE(session.Save(text));
    EXPECT_EQ(ReadFileBytes(path).size(), before.size() + 8194);
}

} // namespace
} // namespace amperlog::test
