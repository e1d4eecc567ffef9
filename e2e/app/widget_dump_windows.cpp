#include "widget_dump.h"

#include <QFile>
#include <QTimer>

// A Windows program under Wine gets no signal from the suite: it asks by creating a request
// file beside the dump, which the program looks for a few times a second.
namespace amperlog::e2e {

void WidgetDump::Watch() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        const QString request = m_file + QStringLiteral(".request");
        if (QFile::exists(request)) {
            QFile::remove(request);
            Write();
        }
    });
    timer->start(100);
}

WidgetDump::~WidgetDump() = default;

} // namespace amperlog::e2e
