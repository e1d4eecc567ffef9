#include "editor/editor_window.h"
#include "platform/fake/fake_screen_metrics.h"
#include "platform/linux/utf8_text_codec.h"
#include "qt_test_application.h"
#include "settings/settings_store.h"
#include "shown_texts.h"
#include "temp_folder.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace amperlog {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::ReadFileBytes;
using test::WriteFileBytes;

const QString kQuestion = QStringLiteral("変更があります。保存しますか？");

class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest() : m_settings(m_folder / "amperlog.ini", &m_screen) {
        test::TestApplication();
        fs::create_directory(m_data);
    }

    // A window whose closing question is answered from m_answers and recorded.
    std::unique_ptr<EditorWindow> Open(const fs::path& path) {
        EditorOptions options;
        options.title = QStringLiteral("amperlog");
        options.ask = [this](QWidget*, const QString& title, const QString& text) {
            m_questions.push_back(title + QLatin1Char('|') + text);
            return m_answer;
        };
        auto window = std::make_unique<EditorWindow>(path, m_settings, m_screen, m_utf8, options);
        return window;
    }

    static std::unique_ptr<EditorWindow> Shown(std::unique_ptr<EditorWindow> window) {
        window->show();
        QApplication::setActiveWindow(window.get());
        return window;
    }

    static QPlainTextEdit* Box(EditorWindow& window) {
        return window.findChild<QPlainTextEdit*>(QStringLiteral("txtEdit"));
    }

    static void TypeAtEnd(EditorWindow& window, const QString& text) {
        QPlainTextEdit* box = Box(window);
        box->setFocus();
        box->moveCursor(QTextCursor::End);
        QTest::keyClicks(box, text);
    }

    static void ClickSave(EditorWindow& window) {
        QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("lblSave")), Qt::LeftButton);
    }

    test::TempFolder m_folder;
    FakeScreenMetrics m_screen;
    Utf8TextCodec m_utf8;
    SettingsStore m_settings;
    fs::path m_data = m_folder / "Data";
    fs::path m_log = m_data / "20261207.txt";
    CloseAnswer m_answer = CloseAnswer::Cancel;
    std::vector<QString> m_questions;
};

TEST_F(EditorWindowTest, ShowsTheFileInItsColoursOnceShown) {
    WriteFileBytes(m_log, "12/06 08:00:03,Power,100%,Charge,Monitor\r\n12/06 09:05:07,Batt,85%");
    auto window = Open(m_log);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("データ編集"));
    EXPECT_EQ(window->objectName(), QStringLiteral("frmEditor"));
    window = Shown(std::move(window));

    EXPECT_EQ(window->windowTitle().toStdString(), m_log.string());
    QPlainTextEdit* box = Box(*window);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("12/06 08:00:03,Power,100%,Charge,Monitor\n"
                                                 "12/06 09:05:07,Batt,85%\n"));
    EXPECT_EQ(box->textCursor().position(), box->toPlainText().size());
    EXPECT_FALSE(window->Changed());

    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(0, 60, 71));
    EXPECT_EQ(
        window->findChild<QWidget*>(QStringLiteral("picTitle"))->palette().color(QPalette::Window),
        QColor(0, 40, 71));
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0, 60, 71));
    EXPECT_EQ(box->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(box->font().pointSizeF(), 12.0);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblSave"))->text(),
              QStringLiteral("保存"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("mnuSave"))->text(),
              QStringLiteral("保存"));
}

TEST_F(EditorWindowTest, TheStartUpDelayPutsTheFocusInTheBox) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    auto* delay = window->findChild<QTimer*>(QStringLiteral("timDelay"));
    ASSERT_NE(delay, nullptr);
    QPlainTextEdit* box = Box(*window);
    box->clearFocus();
    QSignalSpy fired(delay, &QTimer::timeout);
    ASSERT_TRUE(fired.wait(5000));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_FALSE(window->Changed());
}

TEST_F(EditorWindowTest, ResizingKeepsTypedText) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("typed"));
    WriteFileBytes(m_log, "rewritten by someone\r\n");
    window->resize(window->width() + 50, window->height() + 30);
    QApplication::processEvents();
    EXPECT_EQ(Box(*window)->toPlainText(), QStringLiteral("a\ntyped"));
    EXPECT_TRUE(window->Changed());
}

TEST_F(EditorWindowTest, SavingKeepsLinesTheMonitorAppendedMeanwhile) {
    WriteFileBytes(m_log, "12/07 08:00:03,Power,100%,Charge,Monitor\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("note"));
    {
        std::ofstream out(m_log, std::ios::binary | std::ios::app);
        out << "12/07 08:00:09,Batt,99%,,\r\n";
    }
    ClickSave(*window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->Saved());
    EXPECT_TRUE(m_questions.empty());
    EXPECT_EQ(ReadFileBytes(m_log), "12/07 08:00:03,Power,100%,Charge,Monitor\r\nnote\r\n"
                                    "12/07 08:00:09,Batt,99%,,\r\n");
}

TEST_F(EditorWindowTest, TheSaveMenuSavesAndCloses) {
    WriteFileBytes(m_log, "a");
    auto window = Shown(Open(m_log));
    window->findChild<QAction*>(QStringLiteral("mnuSave"))->trigger();
    EXPECT_FALSE(window->isVisible());
    // The last line gains its line end.
    EXPECT_EQ(ReadFileBytes(m_log), "a\r\n");
}

struct AnswerCase {
    CloseAnswer answer;
    bool closes;
    std::string file;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    static const char* const kNames[] = {"Yes", "No", "Cancel"};
    *os << kNames[static_cast<int>(c.answer)];
}

class EditorClosingTest : public EditorWindowTest,
                          public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(EditorClosingTest, UnsavedChangesAreAskedAbout) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("b"));
    m_answer = GetParam().answer;
    window->close();
    ASSERT_EQ(m_questions.size(), 1u);
    EXPECT_EQ(m_questions.front(), QStringLiteral("amperlog|") + kQuestion);
    EXPECT_EQ(window->isVisible(), !GetParam().closes);
    EXPECT_EQ(ReadFileBytes(m_log), GetParam().file);
    EXPECT_EQ(Box(*window)->toPlainText(), QStringLiteral("a\nb"));
}

INSTANTIATE_TEST_SUITE_P(Answers, EditorClosingTest,
                         ::testing::Values(AnswerCase{CloseAnswer::Yes, true, "a\r\nb"},
                                           AnswerCase{CloseAnswer::No, true, "a\r\n"},
                                           AnswerCase{CloseAnswer::Cancel, false, "a\r\n"}));

TEST_F(EditorWindowTest, InEnglishNothingJapaneseShowsOrIsAsked) {
    const test::InterfaceLanguageScope english(Language::English);
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    const QStringList texts = test::ShownTexts(*window);
    EXPECT_TRUE(texts.contains(QStringLiteral("lblSave: Save")));
    EXPECT_EQ(test::JapaneseIn(texts), QStringList());
    TypeAtEnd(*window, QStringLiteral("b"));
    window->close();
    EXPECT_EQ(m_questions, std::vector<QString>{QStringLiteral("amperlog|Save your changes?")});
}

TEST_F(EditorWindowTest, ClosingWithoutChangesAsksNothing) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(m_questions.empty());
    EXPECT_FALSE(window->Saved());
}

TEST_F(EditorWindowTest, YesWithAFailedSaveKeepsTheWindowAndItsText) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("b"));
    fs::remove_all(m_data);
    m_answer = CloseAnswer::Yes;
    window->close();
    EXPECT_EQ(m_questions.size(), 1u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->Changed());
}

TEST_F(EditorWindowTest, SaveThatCannotWriteLeadsToTheQuestion) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("b"));
    fs::remove_all(m_data);
    m_answer = CloseAnswer::No;
    ClickSave(*window);
    EXPECT_EQ(m_questions.size(), 1u);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->Saved());
}

TEST_F(EditorWindowTest, EscapeInTheBoxClosesThroughTheQuestion) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("b"));
    ASSERT_TRUE(Box(*window)->hasFocus());
    m_answer = CloseAnswer::Cancel;
    QTest::keyClick(Box(*window), Qt::Key_Escape);
    EXPECT_EQ(m_questions.size(), 1u);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Box(*window)->toPlainText(), QStringLiteral("a\nb"));
}

TEST_F(EditorWindowTest, EscapeElsewhereDropsTheChangesWithoutAsking) {
    WriteFileBytes(m_log, "a\r\n");
    auto window = Shown(Open(m_log));
    TypeAtEnd(*window, QStringLiteral("b"));
    Box(*window)->clearFocus();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(m_questions.empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadFileBytes(m_log), "a\r\n");
}

TEST_F(EditorWindowTest, AMissingSysLogOpensEmptyAndIsNotCreated) {
    const fs::path sysLog = m_folder / "Sys.log";
    auto window = Shown(Open(sysLog));
    EXPECT_EQ(window->windowTitle().toStdString(), sysLog.string());
    EXPECT_TRUE(Box(*window)->toPlainText().isEmpty());
    window->close();
    EXPECT_TRUE(m_questions.empty());
    EXPECT_FALSE(fs::exists(sysLog));
}

TEST_F(EditorWindowTest, ForeignBytesSurviveAnEditElsewhere) {
    const std::string lines = "\xef\xbb\xbf"
                              "bom\r\n"
                              "\x93\xfa\x96\x7b\x8c\xea\r\n"
                              "nul\0inside\r\n"
                              "no-break\xc2\xa0space, line\xe2\x80\xa8sep\r\n"
                              "\xff\xfe stray\r\n"s;
    const fs::path sysLog = m_folder / "Sys.log";
    WriteFileBytes(sysLog, lines);
    auto window = Shown(Open(sysLog));
    TypeAtEnd(*window, QStringLiteral("z"));
    ClickSave(*window);
    EXPECT_EQ(ReadFileBytes(sysLog), lines + "z");
}

TEST_F(EditorWindowTest, AFolderNamedInAnotherEncodingIsSavedWhereItWasRead) {
    // A folder name with a byte that is not UTF-8, beside the folder that a conversion to
    // Unicode text and back would name instead (the byte as U+FFFD).
    const fs::path folder = m_folder / "Amperlog\xff";
    const fs::path converted = m_folder / "Amperlog\xef\xbf\xbd";
    for (const fs::path& f : {folder, converted}) {
        fs::create_directory(f);
        WriteFileBytes(f / "Sys.log", "note\r\n");
    }
    auto window = Shown(Open(folder / "Sys.log"));
    TypeAtEnd(*window, QStringLiteral("z"));
    ClickSave(*window);
    EXPECT_TRUE(window->Saved());
    EXPECT_EQ(ReadFileBytes(folder / "Sys.log"), "note\r\nz");
    EXPECT_EQ(ReadFileBytes(converted / "Sys.log"), "note\r\n");
    for (const fs::path& f : {folder, converted}) {
        std::vector<fs::path> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(f)) {
            names.push_back(entry.path().filename());
        }
        EXPECT_EQ(names, std::vector<fs::path>{"Sys.log"}) << f;
    }
}

TEST_F(EditorWindowTest, AFileTooLargeIsShownReadOnlyAndLeftAlone) {
    WriteFileBytes(m_log, "x");
    fs::resize_file(m_log, EditorSession::kMaxFileBytes + 1);
    auto window = Shown(Open(m_log));
    EXPECT_TRUE(Box(*window)->isReadOnly());
    EXPECT_FALSE(window->Changed());
    ClickSave(*window);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(m_questions.empty());
    EXPECT_EQ(fs::file_size(m_log), EditorSession::kMaxFileBytes + 1);
}

TEST_F(EditorWindowTest, ThePlacementIsStoredOnClosingAndRestoredNextTime) {
    WriteFileBytes(m_log, "a\r\n");
    auto first = Shown(Open(m_log));
    first->move(100, 80);
    first->resize(500, 300);
    first->close();
    EXPECT_EQ(m_settings.ReadSetting("Windows", "Editor"), "1500,1200,7500,4500");

    auto second = Open(m_log);
    EXPECT_EQ(second->pos(), QPoint(100, 80));
    EXPECT_EQ(second->size(), QSize(500, 300));
}

TEST_F(EditorWindowTest, WithNothingStoredTheWindowIsCentred) {
    auto window = Open(m_log);
    EXPECT_EQ(window->pos(), QPoint((1920 - EditorWindow::kDesignWidth) / 2,
                                    (1080 - EditorWindow::kDesignHeight) / 2));
}

TEST_F(EditorWindowTest, OpenInEditorIsModalAndTheCallersTimersKeepRunning) {
    WriteFileBytes(m_log, "a\r\n");
    int ticks = 0;
    bool modal = false;
    QTimer monitor;
    monitor.setInterval(1);
    QObject::connect(&monitor, &QTimer::timeout, [&ticks, &modal] {
        // The third tick while the window is open saves it through its label. What it found
        // is checked once the window's loop has ended: a failure here would leave it running.
        if (++ticks == 3) {
            auto* window = qobject_cast<EditorWindow*>(QApplication::activeModalWidget());
            modal = window != nullptr;
            if (modal) {
                ClickSave(*window);
            }
        }
    });
    // Whatever the ticks found, the window is closed in the end, so that the test can fail.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<EditorWindow*>(widget)) {
                window->close();
            }
        }
    });
    monitor.start();
    deadline.start(10000);
    const bool saved = OpenInEditor(nullptr, m_log, m_settings, m_screen, m_utf8);
    monitor.stop();
    deadline.stop();
    EXPECT_GE(ticks, 3);
    EXPECT_TRUE(modal) << "no editor window was the modal one while the caller's timer ran";
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadFileBytes(m_log), "a\r\n");
}

} // namespace
} // namespace amperlog
