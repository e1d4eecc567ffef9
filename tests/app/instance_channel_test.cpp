#include "app/instance_channel.h"
#include "qt_test_application.h"
#include "temp_folder.h"

#include <QDir>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

struct NameCase {
    const char* folderA;
    const char* userA;
    const char* folderB;
    const char* userB;
};

// Each pair names two copies that must not reach each other.
TEST(InstanceChannelTest, OtherFoldersAndUsersKeepChannelsOfTheirOwn) {
    const NameCase cases[] = {
        {"/opt/amperlog", "/home/ann", "/opt/amperlog2", "/home/ann"},
        {"/opt/amperlog", "/home/ann", "/opt/amperlog", "/home/bob"},
        // The parts are kept apart, not run together.
        {"/opt/a", "b/home/ann", "/opt/ab", "/home/ann"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(std::string(c.folderB) + " " + c.userB);
        const QString a =
            InstanceChannelName(QString::fromUtf8(c.folderA), QString::fromUtf8(c.userA));
        const QString b =
            InstanceChannelName(QString::fromUtf8(c.folderB), QString::fromUtf8(c.userB));
        EXPECT_NE(a, b);
        for (const QString& name : {a, b}) {
            // Short and plain: it becomes a file name in the temporary folder, or a pipe name.
            EXPECT_LE(name.size(), 40);
            for (const QChar ch : name) {
                EXPECT_TRUE(ch.isDigit() || (ch >= u'a' && ch <= u'z') || ch == u'-')
                    << static_cast<int>(ch.unicode());
            }
        }
    }
}

TEST(InstanceChannelTest, EverySpellingOfTheFolderGivesOneName) {
    const test::TempFolder temp;
    const fs::path folder = temp / "Amperlog";
    fs::create_directories(folder / "Data");
    fs::create_directory_symlink(folder, temp / "link");
    const QString name = InstanceChannelName(folder);
    for (const fs::path& spelling :
         {folder / ".", folder / "Data" / "..", temp / "link", temp.Path() / "." / "Amperlog"}) {
        EXPECT_EQ(InstanceChannelName(spelling), name) << spelling;
    }
    fs::create_directory(temp / "Other");
    EXPECT_NE(InstanceChannelName(temp / "Other"), name);
}

class ChannelTest : public ::testing::Test {
protected:
    ChannelTest() : m_name(InstanceChannelName(m_folder.Path())), m_channel([this] { ++m_shows; }) {
        test::TestApplication();
    }
    ~ChannelTest() override { QLocalServer::removeServer(m_name); }

    // What a copy killed while listening leaves: a socket file nobody accepts on.
    void LeaveDeadSocket() const {
        const std::string path = QDir(QDir::tempPath()).filePath(m_name).toStdString();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.size(), sizeof(address.sun_path));
        path.copy(address.sun_path, path.size());
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        ASSERT_TRUE(fs::exists(path));
    }

    test::TempFolder m_folder;
    QString m_name;
    int m_shows = 0;
    InstanceChannel m_channel;
};

TEST_F(ChannelTest, ALaterStartReachesTheRunningCopyOnce) {
    ASSERT_TRUE(m_channel.Listen(m_name));
    EXPECT_TRUE(AskToShow(m_name));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_shows > 0; }));
    EXPECT_TRUE(AskToShow(m_name));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_shows > 1; }));
    EXPECT_EQ(m_shows, 2);

    m_channel.Close();
    EXPECT_FALSE(AskToShow(m_name));
}

TEST_F(ChannelTest, AKilledCopysSocketAnswersNoOneAndIsTakenOver) {
    LeaveDeadSocket();
    EXPECT_FALSE(AskToShow(m_name));
    ASSERT_TRUE(m_channel.Listen(m_name));
    EXPECT_TRUE(AskToShow(m_name));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_shows == 1; }));
}

} // namespace
} // namespace amperlog
