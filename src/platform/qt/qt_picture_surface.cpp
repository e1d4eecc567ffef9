#include "platform/qt/qt_picture_surface.h"

#include "platform/qt/qt_fonts.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>
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
    m_picture.PaintOnto(m_image);
    if (m_picture.Painted() == m_shown) {
        return;
    }
    m_shown = m_picture.Painted();
    update();
}

QPoint QtPictureSurface::ToPixels(PointF at) const {
    return {RoundPixels(at.x / m_twips), RoundPixels(at.y / m_twips)};
}

void QtPictureSurface::Clear() {
    SyncImageSize();
    m_picture.Clear(ToQColor(m_back).rgb(), m_image.size());
    m_pendingSize = size();
    m_current = {0, 0};
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
    const auto shape = mode == BoxMode::Filled    ? PendingPicture::Shape::Fill
                       : mode == BoxMode::Outline ? PendingPicture::Shape::Outline
                                                  : PendingPicture::Shape::Line;
    m_picture.Draw(shape, a, b, rgb, m_lineWidth);
    QueueRepaint();
}

void QtPictureSurface::Point(PointF at, std::optional<Rgb> color) {
    m_current = at;
    if (!CanPaint()) {
        return;
    }
    const QRgb rgb = ToQColor(color.value_or(m_fore)).rgb();
    const QPoint pixel = ToPixels(at);
    m_picture.DrawPoint(pixel, rgb, m_lineWidth);
    QueueRepaint();
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
    m_picture.DrawText(at, rgb, text, m_fontSize, m_font, m_fontAscent);
    QueueRepaint();
}

QImage QtPictureSurface::Picture() {
    SyncImageSize();
    m_picture.PaintOnto(m_image);
    return m_image;
}

void QtPictureSurface::paintEvent(QPaintEvent* event) {
    SyncImageSize();
    m_picture.PaintOnto(m_image);
    m_shown = m_picture.Painted();
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
    if (m_picture.Pending() && m_pendingSize == size() && !m_image.isNull()) {
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
    m_picture.PaintOnto(m_image);
    QImage resized = BlankImage(size(), ratio, m_back);
    if (!resized.isNull() && !m_image.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
    m_picture.Resized(m_image.size(), ToQColor(m_back).rgb());
}

} // namespace amperlog
