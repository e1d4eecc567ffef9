#include "platform/qt/qt_picture_surface.h"

#include "platform/qt/qt_fonts.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>

namespace amperlog {
namespace {

QColor ToQColor(Rgb color) {
    return {color.r, color.g, color.b};
}

int RoundPixels(double value) {
    constexpr double kLimit = 1 << 24; // far beyond any screen; keeps the conversion defined
    if (!(value > -kLimit)) {
        return -static_cast<int>(kLimit);
    }
    if (!(value < kLimit)) {
        return static_cast<int>(kLimit);
    }
    return static_cast<int>(std::lround(value));
}

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

QImage BlankImage(QSize logical, qreal ratio, Rgb back) {
    QImage image(logical * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(ToQColor(back));
    return image;
}

} // namespace

QtPictureSurface::QtPictureSurface(QWidget* parent, int twipsPerPixel)
    : QWidget(parent), m_twips(twipsPerPixel > 0 ? twipsPerPixel : 15) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    UpdateFont();
    m_image = BlankImage(size(), devicePixelRatioF(), m_back);
}

QtPictureSurface::~QtPictureSurface() = default;

void QtPictureSurface::SetTwipsPerPixel(int twips) {
    if (twips > 0) {
        m_twips = twips;
    }
}

double QtPictureSurface::Width() const {
    return static_cast<double>(width()) * m_twips;
}

double QtPictureSurface::Height() const {
    return static_cast<double>(height()) * m_twips;
}

void QtPictureSurface::Record(std::initializer_list<std::uint64_t> values) {
    for (const std::uint64_t value : values) {
        m_drawing = Mix(m_drawing ^ Mix(value));
    }
}

void QtPictureSurface::Queue(const Operation& operation) {
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
    QueueRepaint();
}

void QtPictureSurface::Commit() {
    if (m_pending.empty() && !m_pendingClear) {
        return;
    }
    if (m_drawing != m_painted) {
        if (m_pendingClear) {
            m_image.fill(*m_pendingClear);
        }
        if (!m_pending.empty() && !m_image.isNull()) {
            QPainter painter(&m_image);
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

void QtPictureSurface::Paint(QPainter& painter, const Operation& operation) {
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

void QtPictureSurface::QueueRepaint() {
    if (m_repaintQueued) {
        return;
    }
    m_repaintQueued = true;
    // Checked once the caller has finished drawing, when the event loop comes round again.
    QMetaObject::invokeMethod(this, &QtPictureSurface::RepaintIfChanged, Qt::QueuedConnection);
}

void QtPictureSurface::RepaintIfChanged() {
    m_repaintQueued = false;
    Commit();
    if (m_painted == m_shown) {
        return;
    }
    m_shown = m_painted;
    update();
}

void QtPictureSurface::UsePen(QPainter& painter, QRgb color, int width) {
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

QPoint QtPictureSurface::ToPixels(PointF at) const {
    return {RoundPixels(at.x / m_twips), RoundPixels(at.y / m_twips)};
}

void QtPictureSurface::Clear() {
    SyncImageSize();
    // Whatever was drawn since the last commit would be painted over.
    m_pending.clear();
    m_texts.clear();
    m_pendingClear = ToQColor(m_back).rgb();
    m_pendingSize = size();
    m_current = {0, 0};
    m_drawing = 0;
    Record({static_cast<std::uint64_t>(Step::Clear), ColorKey(*m_pendingClear),
            Key(m_image.width()), Key(m_image.height())});
    QueueRepaint();
}

void QtPictureSurface::SetBackColor(Rgb color) {
    m_back = color;
    Clear();
}

void QtPictureSurface::SetForeColor(Rgb color) {
    m_fore = color;
}

void QtPictureSurface::SetLineWidth(int pixels) {
    m_lineWidth = pixels > 0 ? pixels : 1;
}

void QtPictureSurface::SetFontSize(double points) {
    if (points > 0 && points != m_fontSize) {
        m_fontSize = points;
        UpdateFont();
    }
}

void QtPictureSurface::UpdateFont() {
    m_font = UiFont(m_fontSize);
    const QFontMetrics metrics(m_font, this);
    m_fontAscent = metrics.ascent();
    m_fontHeight = metrics.height();
}

void QtPictureSurface::Resize(double width, double height) {
    resize(RoundPixels(width / m_twips), RoundPixels(height / m_twips));
}

void QtPictureSurface::SetVisible(bool visible) {
    setVisible(visible);
}

void QtPictureSurface::Line(PointF from, PointF to, BoxMode mode, std::optional<Rgb> color) {
    m_current = to;
    if (!CanPaint()) {
        return;
    }
    const QRgb rgb = ToQColor(color.value_or(m_fore)).rgb();
    const QPoint a = ToPixels(from);
    const QPoint b = ToPixels(to);
    const Step step = mode == BoxMode::Filled    ? Step::Fill
                      : mode == BoxMode::Outline ? Step::Outline
                                                 : Step::Line;
    Record({static_cast<std::uint64_t>(step), Key(a), Key(b), ColorKey(rgb), Key(m_lineWidth)});
    Queue({step, a, b, rgb, m_lineWidth, 0});
}

void QtPictureSurface::Point(PointF at, std::optional<Rgb> color) {
    m_current = at;
    if (!CanPaint()) {
        return;
    }
    const QRgb rgb = ToQColor(color.value_or(m_fore)).rgb();
    const QPoint pixel = ToPixels(at);
    Record({static_cast<std::uint64_t>(Step::Point), Key(pixel), ColorKey(rgb), Key(m_lineWidth)});
    Queue({Step::Point, pixel, pixel, rgb, m_lineWidth, 0});
}

void QtPictureSurface::SetCurrentPoint(PointF at) {
    m_current = at;
}

void QtPictureSurface::Print(const std::string& text) {
    const QPoint at = ToPixels(m_current);
    m_current = {0, m_current.y + static_cast<double>(m_fontHeight) * m_twips};
    if (!CanPaint()) {
        return;
    }
    const QRgb rgb = ToQColor(m_fore).rgb();
    Record({static_cast<std::uint64_t>(Step::Print), Key(at), ColorKey(rgb),
            std::bit_cast<std::uint64_t>(m_fontSize), std::hash<std::string>{}(text)});
    m_texts.push_back({QString::fromStdString(text), m_font, m_fontAscent});
    Queue({Step::Print, at, at, rgb, 1, m_texts.size() - 1});
}

QImage QtPictureSurface::Picture() {
    SyncImageSize();
    Commit();
    return m_image;
}

void QtPictureSurface::paintEvent(QPaintEvent* event) {
    SyncImageSize();
    Commit();
    m_shown = m_painted;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, m_image);
}

void QtPictureSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SyncImageSize();
}

bool QtPictureSurface::CanPaint() {
    // Asking for the device pixel ratio costs more than a short line: while drawing goes on
    // and the widget keeps its size, the picture is still the one to draw on.
    const bool drawing = !m_pending.empty() || m_pendingClear;
    if (drawing && m_pendingSize == size() && !m_image.isNull()) {
        return true;
    }
    SyncImageSize();
    m_pendingSize = size();
    return !m_image.isNull();
}

void QtPictureSurface::SyncImageSize() {
    // A hidden widget gets its resize event only when shown; the picture follows the size at
    // once, so that drawing before the first show lands on a picture of the right size.
    const qreal ratio = devicePixelRatioF();
    if (m_image.size() == size() * ratio) {
        return;
    }
    // What was drawn belongs to the old size.
    Commit();
    QImage resized = BlankImage(size(), ratio, m_back);
    if (!resized.isNull() && !m_image.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
    Record({static_cast<std::uint64_t>(Step::Resize), Key(m_image.width()), Key(m_image.height()),
            ColorKey(ToQColor(m_back).rgb())});
    m_painted = m_drawing;
}

} // namespace amperlog
