#pragma once

#include <QObject>
#include <QString>

namespace amperlog::e2e {

// Lets the end-to-end suite look inside the running test build: on request (SIGUSR1; on
// Windows a file "<file>.request") it writes every widget of the application to a file, one
// line each, tab-separated:
//   objectName  className  visible(0/1)  focus(0/1)  globalX  globalY  width  height  text
// where text is a label's caption, a text box's content, a menu's item captions joined by
// "|" or a window's title, with backslash, tab and line breaks escaped (\\ \t \n \r).
// After a menu come its items, class "QAction", each where the menu shows it, with an
// eleventh field for a checkable one: its check mark (0/1).
// The file is replaced atomically and ends with the line "end".
class WidgetDump final : public QObject {
public:
    explicit WidgetDump(QString file, QObject* parent = nullptr);
    ~WidgetDump() override;
    WidgetDump(const WidgetDump&) = delete;
    WidgetDump& operator=(const WidgetDump&) = delete;

    // Writes the file now.
    void Write() const;

private:
    // Starts listening for the suite's request; one way per system.
    void Watch();

    QString m_file;
};

} // namespace amperlog::e2e
