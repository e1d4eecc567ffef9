#include "mainwindow/counter_label.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <cstring>

namespace amperlog {
namespace {

// The glyph index of c, or -1.
int GlyphIndex(QChar c, const char* characters) {
    const char* found = c.unicode() < 128 && c.unicode() != 0
                            ? std::strchr(characters, static_cast<char>(c.unicode()))
                            : nullptr;
    return found != nullptr ? static_cast<int>(found - characters) : -1;
}

} // namespace

bool CounterLabel::MakeGlyphs() {
    const qreal ratio = devicePixelRatioF();
    if (m_glyphsMade && ratio == m_ratio) {
        return true;
    }
    const QFontMetricsF metrics(font(), this);
    const int height = static_cast<int>(std::ceil(metrics.height()));
    for (std::size_t i = 0; i < m_glyphs.size(); ++i) {
        const QChar c = QLatin1Char(kCharacters[i]);
        Glyph& glyph = m_glyphs[i];
        glyph.advance = metrics.horizontalAdvance(c);
        // Room for a glyph that reaches past its advance.
        const int width = static_cast<int>(std::ceil(metrics.boundingRect(c).right())) + 2;
        glyph.image = QImage(QSize(std::max(width, 1), std::max(height, 1)) * ratio,
                             QImage::Format_ARGB32_Premultiplied);
        if (glyph.image.isNull()) {
            return false;
        }
        glyph.image.setDevicePixelRatio(ratio);
        glyph.image.fill(Qt::transparent);
        QPainter painter(&glyph.image);
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(QPointF(0, metrics.ascent()), QString(c));
    }
    m_ratio = ratio;
    m_glyphsMade = true;
    return true;
}

void CounterLabel::paintEvent(QPaintEvent* event) {
    const QString shown = text();
    bool simple =
        !shown.isEmpty() && shown.size() <= 16 && alignment() == (Qt::AlignLeft | Qt::AlignTop);
    for (const QChar c : shown) {
        simple = simple && GlyphIndex(c, kCharacters) >= 0;
    }
    if (!simple || !MakeGlyphs()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect box = contentsRect();
    qreal x = box.left();
    for (const QChar c : shown) {
        const Glyph& glyph = m_glyphs[static_cast<std::size_t>(GlyphIndex(c, kCharacters))];
        painter.drawImage(QPointF(std::round(x), box.top()), glyph.image);
        x += glyph.advance;
    }
}

void CounterLabel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        m_glyphsMade = false;
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

} // namespace amperlog
