#include "child_program.h"
#include "temp_folder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;

// The crafted week happened in Berlin, weeks before any run of this test: the report ends
// with its last log.
constexpr const char* kZone = "TZ=Europe/Berlin";

// The program in a copy of the week's program folder, running --report file there in Berlin's
// time on an English desktop; its exit code.
int RunReport(const fs::path& folder, const std::string& file) {
    const fs::path program = folder / "amperlog";
    fs::copy_file(AMPERLOG_PROGRAM, program);
    test::ChildRequest request;
    request.arguments = {"--report", (folder / file).string()};
    request.set = {kZone, "LANG=C.UTF-8"};
    request.drop = {"LANGUAGE=", "LC_", "DISPLAY="};
    const pid_t pid = test::SpawnChild(program, request);
    return pid == 0 ? -1 : test::WaitForExit(pid);
}

class ReportCommandTest : public testing::Test {
protected:
    void SetUp() override {
        fs::copy(test::TestDataDir() / "report-week", m_folder.Path(), fs::copy_options::recursive);
    }
    test::TempFolder m_folder;
};

std::vector<std::string> CsvRows(const fs::path& path) {
    std::vector<std::string> rows;
    std::istringstream text(test::ReadFileBytes(path));
    for (std::string row; std::getline(text, row);) {
        rows.push_back(row);
    }
    rows.erase(rows.begin()); // the header
    return rows;
}

std::vector<std::string> Fields(const std::string& row) {
    std::vector<std::string> fields;
    std::istringstream text(row);
    for (std::string field; std::getline(text, field, ',');) {
        fields.push_back(field);
    }
    return fields;
}

// "H:MM" in seconds.
int Seconds(const std::string& hoursMinutes) {
    const auto colon = hoursMinutes.find(':');
    return std::stoi(hoursMinutes.substr(0, colon)) * 3600 +
           std::stoi(hoursMinutes.substr(colon + 1)) * 60;
}

// The figures of the real program's JSON: each day of the week as counted by hand (the day
// the clock goes back 25 hours long), and the sleep diary's sleeps with what they cost.
TEST_F(ReportCommandTest, WeekJsonHoldsTheHandCountedDaysAndTheSleeps) {
    ASSERT_EQ(RunReport(m_folder.Path(), "week.json"), 0);
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromStdString(test::ReadFileBytes(m_folder / "week.json")), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();

    std::map<std::string, QJsonObject> days;
    for (const QJsonValue day : json["days"].toArray()) {
        days[day["date"].toString().toStdString()] = day.toObject();
    }
    const char* const kinds[] = {"battery_s", "mains_s", "asleep_s", "unseen_s"};
    for (const std::string& row : CsvRows(m_folder / "hand-count.csv")) {
        const std::vector<std::string> hand = Fields(row);
        SCOPED_TRACE(row);
        ASSERT_EQ(days.count(hand[0]), 1U);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(days[hand[0]][kinds[i]].toDouble(), Seconds(hand[i + 1]), 60) << kinds[i];
        }
    }

    const QJsonArray sleeps = json["sleeps"].toArray();
    const std::vector<std::string> diary = CsvRows(m_folder / "Data" / "sleep.csv");
    ASSERT_EQ(sleeps.size(), static_cast<qsizetype>(diary.size()));
    for (std::size_t i = 0; i < diary.size(); ++i) {
        const std::vector<std::string> line = Fields(diary[i]);
        const QJsonValue sleep = sleeps[static_cast<qsizetype>(i)];
        SCOPED_TRACE(diary[i]);
        EXPECT_EQ(sleep["start"].toString().toStdString(), line[0]);
        EXPECT_EQ(sleep["seconds"].toInt(), std::stoi(line[2]));
        EXPECT_EQ(sleep["percent_before"].toInt() - sleep["percent_after"].toInt(),
                  std::stoi(line[3]) - std::stoi(line[4]));
        EXPECT_EQ(sleep["on_mains"].toBool(), line[7] == "1");
    }
}

// The interval is the settings file's: at 4 minutes the week's 8 minutes between lines are
// gaps, and hours on battery go unseen.
TEST_F(ReportCommandTest, IntervalComesFromTheSettings) {
    test::WriteFileBytes(m_folder / "amperlog.ini", "[Work]\nSEP=4\n");
    ASSERT_EQ(RunReport(m_folder.Path(), "week.json"), 0);
    const QJsonDocument json = QJsonDocument::fromJson(
        QByteArray::fromStdString(test::ReadFileBytes(m_folder / "week.json")));
    const std::vector<std::string> hand = Fields(CsvRows(m_folder / "hand-count.csv").front());
    for (const QJsonValue day : json["days"].toArray()) {
        if (day["date"].toString().toStdString() == hand[0]) {
            EXPECT_LT(day["battery_s"].toDouble(), Seconds(hand[1]) - 3600);
            return;
        }
    }
    ADD_FAILURE() << "no day " << hand[0];
}

// The page stands alone: it runs nothing and fetches nothing.
TEST_F(ReportCommandTest, WeekPageFetchesNothing) {
    ASSERT_EQ(RunReport(m_folder.Path(), "week.html"), 0);
    const std::string page = test::ReadFileBytes(m_folder / "week.html");
    EXPECT_TRUE(page.starts_with("<!DOCTYPE html>\n<html lang=\"en\">"));
    for (const char* outside : {"<script", "http", "src=", "url("}) {
        EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
}

} // namespace
} // namespace amperlog
