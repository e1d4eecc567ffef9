#include "editor/editor_window.h"

#include "platform/qt/qt_fonts.h"
#include "platform/qt/qt_text.h"
#include "platform/screen_metrics.h"
#include "settings/placement.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <utility>

namespace amperlog {
namespace {

constexpr std::string_view kPlacementKey = "Editor";
constexpr QColor kBackground(0, 60, 71);
constexpr QColor kTitleBackground(0, 40, 71);
constexpr int kMargin = 16; // pixels left and right of the box

QString QtPath(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return QDir::toNativeSeparators(QString::fromUtf8(reinterpret_cast<const char*>(name.data()),
                                                      static_cast<qsizetype>(name.size())));
}

int ToPixels(double twips, int twipsPerPixel) {
    const double pixels = twips / twipsPerPixel;
    if (!std::isfinite(pixels)) {
        return 0;
    }
    return static_cast<int>(std::lround(std::clamp(pixels, -1e6, 1e6)));
}

void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

CloseAnswer AskWithMessageBox(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return CloseAnswer::Yes;
    case QMessageBox::No:
        return CloseAnswer::No;
    default:
        return CloseAnswer::Cancel;
    }
}

} // namespace

EditorWindow::EditorWindow(std::filesystem::path targetf, SettingsStore& settings,
                           const ScreenMetrics& screen, const TextCodec& codec,
                           EditorOptions options, QWidget* parent)
    : QDialog(parent), m_session(std::move(targetf), codec), m_settings(settings), m_screen(screen),
      m_options(std::move(options)), m_menuBar(new QMenuBar(this)),
      m_mnuSave(m_menuBar->addAction(QtText(TextId::EditorSave))), m_picTitle(new QWidget(this)),
      m_lblSave(new QLabel(QtText(TextId::EditorSave), m_picTitle)),
      m_txtEdit(new QPlainTextEdit(this)), m_timDelay(new QTimer(this)) {
    setObjectName(QStringLiteral("frmEditor"));
    setWindowTitle(QtText(TextId::EditorTitle));
    setAutoFillBackground(true);
    Paint(this, QPalette::Window, kBackground);

    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_menuBar->setNativeMenuBar(false);
    m_mnuSave->setObjectName(QStringLiteral("mnuSave"));
    connect(m_mnuSave, &QAction::triggered, this, &EditorWindow::SaveAndClose);

    m_picTitle->setObjectName(QStringLiteral("picTitle"));
    m_picTitle->setAutoFillBackground(true);
    Paint(m_picTitle, QPalette::Window, kTitleBackground);

    m_lblSave->setObjectName(QStringLiteral("lblSave"));
    m_lblSave->setFont(UiFont(9));
    Paint(m_lblSave, QPalette::WindowText, Qt::white);
    m_lblSave->setCursor(Qt::PointingHandCursor);
    m_lblSave->setGeometry(kMargin, 0, 48, kTitleHeight);
    m_lblSave->installEventFilter(this);

    m_txtEdit->setObjectName(QStringLiteral("txtEdit"));
    m_txtEdit->setFont(UiFont(12));
    m_txtEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    Paint(m_txtEdit, QPalette::Base, kBackground);
    Paint(m_txtEdit, QPalette::Text, Qt::white);
    connect(m_txtEdit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling) {
            m_session.MarkChanged();
        }
    });

    m_timDelay->setObjectName(QStringLiteral("timDelay"));
    m_timDelay->setSingleShot(true);
    m_timDelay->setInterval(100);
    connect(m_timDelay, &QTimer::timeout, this, [this] { m_txtEdit->setFocus(); });

    resize(kDesignWidth, kDesignHeight);
    RestorePlacement();
}

int EditorWindow::TwipsPerPixel() const {
    const int twipsPerPixel = m_screen.TwipsPerPixel();
    return twipsPerPixel > 0 ? twipsPerPixel : 15;
}

void EditorWindow::RestorePlacement() {
    const int tpp = TwipsPerPixel();
    const WindowRect current{static_cast<double>(x()) * tpp, static_cast<double>(y()) * tpp,
                             static_cast<double>(width()) * tpp,
                             static_cast<double>(height()) * tpp};
    const WindowRect placed = LoadPlacement(m_settings, kPlacementKey, current,
                                            m_screen.WidthTwips(), m_screen.HeightTwips());
    move(ToPixels(placed.left, tpp), ToPixels(placed.top, tpp));
    resize(std::max(1, ToPixels(placed.width, tpp)), std::max(1, ToPixels(placed.height, tpp)));
}

void EditorWindow::StorePlacement() {
    const int tpp = TwipsPerPixel();
    SavePlacement(m_settings, kPlacementKey,
                  WindowRect{static_cast<double>(x()) * tpp, static_cast<double>(y()) * tpp,
                             static_cast<double>(width()) * tpp,
                             static_cast<double>(height()) * tpp});
}

void EditorWindow::LayoutControls() {
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_picTitle->setGeometry(0, menuHeight, width(), kTitleHeight);
    const int top = menuHeight + kTitleHeight;
    m_txtEdit->setGeometry(kMargin, top, std::max(0, width() - 2 * kMargin),
                           std::max(0, height() - top));
}

void EditorWindow::LoadEditorText() {
    setWindowTitle(QtPath(Targetf()));
    if (m_session.State() != EditorSession::LoadState::NotLoaded) {
        return;
    }
    std::string text;
    const EditorSession::LoadState state = m_session.Load(text);
    m_filling = true;
    if (state == EditorSession::LoadState::Loaded) {
        m_txtEdit->setPlainText(QString::fromStdString(text));
        m_txtEdit->moveCursor(QTextCursor::End);
    } else if (state == EditorSession::LoadState::TooLarge) {
        m_txtEdit->setPlainText(QtText(TextId::EditorTooBig));
        m_txtEdit->setReadOnly(true);
    }
    m_filling = false;
}

std::string EditorWindow::EditText() const {
    // The raw text keeps no-break spaces that toPlainText would turn into blanks.
    QString text = m_txtEdit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

bool EditorWindow::SaveEditorText() {
    if (!m_session.Save(EditText())) {
        return false;
    }
    m_saved = true;
    return true;
}

void EditorWindow::SaveAndClose() {
    SaveEditorText();
    close();
}

CloseAnswer EditorWindow::AskToSave() {
    const QString title =
        m_options.title.isEmpty() ? QGuiApplication::applicationDisplayName() : m_options.title;
    const QString text = QtText(TextId::EditorSaveQuestion);
    return m_options.ask ? m_options.ask(this, title, text) : AskWithMessageBox(this, title, text);
}

void EditorWindow::reject() {
    close();
}

void EditorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown) {
        return;
    }
    m_shown = true;
    LayoutControls();
    LoadEditorText();
    m_timDelay->start();
}

void EditorWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutControls(); // never reloads: typed text stays
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    StorePlacement();
    const bool mayClose = ResolveClose(
        m_session.Changed(), [this] { return AskToSave(); }, [this] { return SaveEditorText(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    m_timDelay->stop();
    event->accept();
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Escape from the box (which passes it on) closes with the question; elsewhere it drops
    // the changes and closes at once.
    if (!m_txtEdit->hasFocus()) {
        m_session.DropChanges();
    }
    event->accept();
    close();
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_lblSave && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_lblSave->rect().contains(mouse->position().toPoint())) {
            SaveAndClose();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool OpenInEditor(QWidget* parent, const std::filesystem::path& path, SettingsStore& settings,
                  const ScreenMetrics& screen, const TextCodec& codec, EditorOptions options) {
    EditorWindow window(path, settings, screen, codec, std::move(options), parent);
    window.exec();
    return window.Saved();
}

} // namespace amperlog
