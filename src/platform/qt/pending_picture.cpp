#include "platform/qt/pending_picture.h"

#include <QPainter>
#include <algorithm>
#include <bit>
#include <functional>
#include <utility>

namespace amperlog {
namespace {

// splitmix64's finaliser: every bit of the value reaches every bit of the result.
std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 30;
    value *= 0xbf58476d1ce4e5b9ULL;
    value ^= value >> 27;
    value *= 0x94d049bb133111ebULL;
    return value ^ (value >> 31);
}

std::uint64_t ColorKey(QRgb color) {
    return color;
}

std::uint64_t Key(int value) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
}

std::uint64_t Key(QPoint at) {
    return (Key(at.x()) << 32) ^ Key(at.y());
}

} // namespace

void PendingPicture::Record(std::initializer_list<std::uint64_t> values) {
    for (const std::uint64_t value : values) {
        m_drawing = Mix(m_drawing ^ Mix(value));
    }
}

void PendingPicture::Clear(QRgb color, QSize imageSize) {
    // Whatever was drawn since the last paint would be painted over.
    m_pending.clear();
    m_texts.clear();
    m_pendingClear = color;
    m_drawing = 0;
    Record({static_cast<std::uint64_t>(Step::Clear), ColorKey(color), Key(imageSize.width()),
            Key(imageSize.height())});
}

void PendingPicture::Draw(Shape shape, QPoint from, QPoint to, QRgb color, int width) {
    const Step step = shape == Shape::Fill      ? Step::Fill
                      : shape == Shape::Outline ? Step::Outline
                                                : Step::Line;
    Record({static_cast<std::uint64_t>(step), Key(from), Key(to), ColorKey(color), Key(width)});
    Queue({step, from, to, color, width, 0});
}

void PendingPicture::DrawPoint(QPoint at, QRgb color, int width) {
    Record({static_cast<std::uint64_t>(Step::Point), Key(at), ColorKey(color), Key(width)});
    Queue({Step::Point, at, at, color, width, 0});
}

void PendingPicture::DrawText(QPoint at, QRgb color, const std::string& text, double fontSize,
                              const QFont& font, int ascent) {
    Record({static_cast<std::uint64_t>(Step::Print), Key(at), ColorKey(color),
            std::bit_cast<std::uint64_t>(fontSize), std::hash<std::string>{}(text)});
    m_texts.push_back({QString::fromStdString(text), font, ascent});
    Queue({Step::Print, at, at, color, 1, m_texts.size() - 1});
}

void PendingPicture::Resized(QSize imageSize, QRgb back) {
    Record({static_cast<std::uint64_t>(Step::Resize), Key(imageSize.width()),
            Key(imageSize.height()), ColorKey(back)});
    m_painted = m_drawing;
}

void PendingPicture::Queue(const Operation& operation) {
    // A day logged once a second joins some sixty samples within one pixel column, most of
    // them overlapping: one-pixel lines on the same row or column in the same colour that
    // overlap or touch the one before cover the pixels of the line spanning both.
    if (!m_pending.empty()) {
        Operation& last = m_pending.back();
        const auto axis = [](const Operation& o) {
            if (o.step != Step::Line || o.width != 1) {
                return 0;
            }
            return o.from.x() == o.to.x() ? 1 : o.from.y() == o.to.y() ? 2 : 0;
        };
        const int along = axis(operation);
        if (along != 0 && axis(last) == along && last.color == operation.color) {
            const auto span = [along](const Operation& o) {
                const int a = along == 1 ? o.from.y() : o.from.x();
                const int b = along == 1 ? o.to.y() : o.to.x();
                return std::pair{std::min(a, b), std::max(a, b)};
            };
            const auto at = [along](const Operation& o) {
                return along == 1 ? o.from.x() : o.from.y();
            };
            const auto [lastLow, lastHigh] = span(last);
            const auto [low, high] = span(operation);
            if (at(last) == at(operation) && low <= lastHigh + 1 && high >= lastLow - 1) {
                const int from = std::min(low, lastLow);
                const int to = std::max(high, lastHigh);
                const int fixed = at(last);
                last.from = along == 1 ? QPoint(fixed, from) : QPoint(from, fixed);
                last.to = along == 1 ? QPoint(fixed, to) : QPoint(to, fixed);
                return;
            }
        }
    }
    m_pending.push_back(operation);
}

void PendingPicture::PaintOnto(QImage& image) {
    if (m_pending.empty() && !m_pendingClear) {
        return;
    }
    if (m_drawing != m_painted) {
        if (m_pendingClear) {
            image.fill(*m_pendingClear);
        }
        if (!m_pending.empty() && !image.isNull()) {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, false);
            m_penSet = false;
            for (const Operation& operation : m_pending) {
                Paint(painter, operation);
            }
        }
        m_painted = m_drawing;
    }
    m_pending.clear();
    m_texts.clear();
    m_pendingClear.reset();
}

void PendingPicture::Paint(QPainter& painter, const Operation& operation) {
    const QPoint a = operation.from;
    const QPoint b = operation.to;
    const QRect box = QRect(a, b).normalized();
    switch (operation.step) {
    case Step::Fill:
        // The far corner is outside the fill, so a bar 20 pixels long covers 20 pixels.
        painter.fillRect(box.x(), box.y(), box.width() - 1, box.height() - 1,
                         QColor(operation.color));
        break;
    case Step::Outline:
        UsePen(painter, operation.color, operation.width);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.x(), box.y(), box.width() - 1, box.height() - 1);
        break;
    case Step::Line:
        if (operation.width == 1 && (a.x() == b.x() || a.y() == b.y())) {
            // A one-pixel pen along an axis covers just the pixels from end to end: filling
            // them skips the stroker, which costs tens of times more for the bars of a day
            // logged once a second.
            painter.fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                                   QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))),
                             QColor(operation.color));
            break;
        }
        UsePen(painter, operation.color, operation.width);
        painter.drawLine(a, b);
        break;
    case Step::Point:
        UsePen(painter, operation.color, operation.width);
        painter.drawPoint(a);
        break;
    case Step::Print: {
        const Text& text = m_texts[operation.text];
        painter.setFont(text.font);
        UsePen(painter, operation.color, operation.width);
        painter.drawText(a.x(), a.y() + text.ascent, text.text);
        break;
    }
    case Step::Clear:
    case Step::Resize:
        break;
    }
}

void PendingPicture::UsePen(QPainter& painter, QRgb color, int width) {
    // Setting a pen costs more than a short line; most operations draw in the same one.
    // Square caps: round ones are stroked as curves, several times slower for wide lines.
    if (m_penSet && m_penColor == color && m_penWidth == width) {
        return;
    }
    painter.setPen(QPen(QColor(color), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_penSet = true;
    m_penColor = color;
    m_penWidth = width;
}

} // namespace amperlog
