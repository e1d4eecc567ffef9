#include "qt_picture_surface.h"

#include "qt_fonts.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>

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

QtPictureSurface::~QtPictureSurface() {
    Flush();
}

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

QPainter& QtPictureSurface::Painter() {
    if (!m_painter) {
        SyncImageSize();
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::Antialiasing, false);
        update();
    }
    return *m_painter;
}

void QtPictureSurface::Flush() {
    m_painter.reset();
    // A new painter starts with the default pen.
    m_penSet = false;
}

void QtPictureSurface::UsePen(QPainter& painter, const QColor& color) {
    // Setting a pen costs more than a short line; most operations draw in the same one.
    // Square caps: round ones are stroked as curves, several times slower for wide lines.
    if (m_penSet && m_penColor == color && m_penWidth == m_lineWidth) {
        return;
    }
    painter.setPen(QPen(color, m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    m_penSet = true;
    m_penColor = color;
    m_penWidth = m_lineWidth;
}

QPoint QtPictureSurface::ToPixels(PointF at) const {
    return {RoundPixels(at.x / m_twips), RoundPixels(at.y / m_twips)};
}

void QtPictureSurface::Clear() {
    Flush();
    SyncImageSize();
    m_image.fill(ToQColor(m_back));
    m_current = {0, 0};
    update();
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
    QPainter& painter = Painter();
    const QColor qcolor = ToQColor(color.value_or(m_fore));
    const QPoint a = ToPixels(from);
    const QPoint b = ToPixels(to);
    const QRect box = QRect(a, b).normalized();
    switch (mode) {
    case BoxMode::Filled:
        // The far corner is outside the fill, so a bar 20 pixels long covers 20 pixels.
        painter.fillRect(box.x(), box.y(), box.width() - 1, box.height() - 1, qcolor);
        break;
    case BoxMode::Outline:
        UsePen(painter, qcolor);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.x(), box.y(), box.width() - 1, box.height() - 1);
        break;
    case BoxMode::Line:
        UsePen(painter, qcolor);
        painter.drawLine(a, b);
        break;
    }
}

void QtPictureSurface::Point(PointF at, std::optional<Rgb> color) {
    m_current = at;
    if (!CanPaint()) {
        return;
    }
    QPainter& painter = Painter();
    UsePen(painter, ToQColor(color.value_or(m_fore)));
    painter.drawPoint(ToPixels(at));
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
    QPainter& painter = Painter();
    painter.setFont(m_font);
    UsePen(painter, ToQColor(m_fore));
    painter.drawText(at.x(), at.y() + m_fontAscent, QString::fromStdString(text));
}

QImage QtPictureSurface::Picture() {
    Flush();
    SyncImageSize();
    return m_image;
}

void QtPictureSurface::paintEvent(QPaintEvent* event) {
    Flush();
    SyncImageSize();
    QPainter painter(this);
    painter.setClipRegion(event->region());
    painter.drawImage(0, 0, m_image);
}

void QtPictureSurface::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SyncImageSize();
}

bool QtPictureSurface::CanPaint() {
    SyncImageSize();
    return !m_image.isNull();
}

void QtPictureSurface::SyncImageSize() {
    // A hidden widget gets its resize event only when shown; the picture follows the size at
    // once, so that drawing before the first show lands on a picture of the right size.
    const qreal ratio = devicePixelRatioF();
    if (m_image.size() == size() * ratio) {
        return;
    }
    Flush();
    QImage resized = BlankImage(size(), ratio, m_back);
    if (!resized.isNull() && !m_image.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, m_image);
    }
    m_image = std::move(resized);
}

} // namespace amperlog
