#pragma once

#include "editor/editor_session.h"
#include "editor/editor_text.h"

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

class QMenuBar;
class QPlainTextEdit;
class QLabel;
class QTimer;

namespace amperlog {

class ScreenMetrics;
class SettingsStore;
class TextCodec;

struct EditorOptions {
    // Caption of the closing question; empty: the application's display name.
    QString title;
    // Asks the closing question; empty: a Yes/No/Cancel message box without icon.
    std::function<CloseAnswer(QWidget* parent, const QString& title, const QString& text)> ask;
};

// The data edit window frmEditor: one text file in a multi-line box, saved on request, with a
// question before unsaved changes are dropped. It reads the file once, when first shown, and
// restores and stores its placement "Editor".
class EditorWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kDesignWidth = 640; // pixels
    static constexpr int kDesignHeight = 480;
    static constexpr int kTitleHeight = 24;

    // codec is the files' encoding; it must outlive the window.
    EditorWindow(std::filesystem::path targetf, SettingsStore& settings,
                 const ScreenMetrics& screen, const TextCodec& codec, EditorOptions options = {},
                 QWidget* parent = nullptr);

    const std::filesystem::path& Targetf() const { return m_session.Target(); }
    bool Changed() const { return m_session.Changed(); }
    // Whether a save has reached the file since the window opened.
    bool Saved() const { return m_saved; }

    // Shows the path in the caption and, the first time only, the file in the box.
    void LoadEditorText();
    bool SaveEditorText();

public slots:
    // Escape and every other dismissal go through the closing steps.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SaveAndClose();
    void LayoutControls();
    void RestorePlacement();
    void StorePlacement();
    CloseAnswer AskToSave();
    std::string EditText() const;
    int TwipsPerPixel() const;

    EditorSession m_session;
    SettingsStore& m_settings;
    const ScreenMetrics& m_screen;
    EditorOptions m_options;
    bool m_saved = false;
    bool m_shown = false;
    bool m_filling = false; // the window itself is putting text into the box

    QMenuBar* m_menuBar;
    QAction* m_mnuSave;
    QWidget* m_picTitle;
    QLabel* m_lblSave;
    QPlainTextEdit* m_txtEdit;
    QTimer* m_timDelay;
};

// Opens path in the data edit window and returns when the user has closed it; the caller's
// timers keep running meanwhile. True when the file was saved.
bool OpenInEditor(QWidget* parent, const std::filesystem::path& path, SettingsStore& settings,
                  const ScreenMetrics& screen, const TextCodec& codec, EditorOptions options = {});

} // namespace amperlog
