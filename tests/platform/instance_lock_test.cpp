#include "platform/instance_lock.h"
#include "temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace amperlog {
namespace {

// The folder's name is Latin-1, not UTF-8: the lock is the file of exactly these bytes.
TEST(InstanceLockTest, OneHolderAtATimeInAFolderWhoseNameIsNotUtf8) {
    test::TempFolder root;
    const std::filesystem::path folder = root.Path() / "caf\xe9";
    std::filesystem::create_directory(folder);
    const std::filesystem::path path = folder / "amperlog.lock";

    InstanceLock first(path);
    InstanceLock second(path);
    ASSERT_TRUE(first.TryLock());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(second.TryLock());

    first.Unlock();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(second.TryLock());
}

} // namespace
} // namespace amperlog
