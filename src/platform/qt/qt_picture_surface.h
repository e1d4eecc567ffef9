#pragma once

#include "platform/drawing_surface.h"
#include "platform/qt/pending_picture.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>

namespace amperlog {

// A picture control: a widget that keeps its picture in an image and draws on it in twips
// (twips / TwipsPerPixel = logical pixels, y downwards). The picture persists until it is
// cleared; a resize keeps what was drawn and fills the new area with the background colour.
class QtPictureSurface final : public QWidget, public DrawingSurface {
    Q_OBJECT
public:
    explicit QtPictureSurface(QWidget* parent = nullptr, int twipsPerPixel = 15);
    ~QtPictureSurface() override;

    void SetTwipsPerPixel(int twips);

    double Width() const override;
    double Height() const override;
    int TwipsPerPixel() const override { return m_twips; }

    void Clear() override;
    void SetBackColor(Rgb color) override;
    void SetForeColor(Rgb color) override;
    Rgb ForeColor() const override { return m_fore; }
    void SetLineWidth(int pixels) override;
    void SetFontSize(double points) override;
    void Resize(double width, double height) override;
    void SetVisible(bool visible) override;

    void Line(PointF from, PointF to, BoxMode mode = BoxMode::Line,
              std::optional<Rgb> color = std::nullopt) override;
    void Point(PointF at, std::optional<Rgb> color = std::nullopt) override;
    PointF CurrentPoint() const override { return m_current; }
    void SetCurrentPoint(PointF at) override;
    void Print(const std::string& text) override;

    Rgb BackColor() const { return m_back; }
    // The picture as it stands, at the widget's device pixel ratio.
    QImage Picture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPoint ToPixels(PointF at) const;
    void UpdateFont();
    void SyncImageSize();
    bool CanPaint();
    void QueueRepaint();
    void RepaintIfChanged();

    QImage m_image;
    // Drawing waits until the picture is shown or read; the digest of the picture on the
    // screen tells whether it needs showing again.
    PendingPicture m_picture;
    std::uint64_t m_shown = 0;
    // The widget's size when the pending drawing began.
    QSize m_pendingSize;
    bool m_repaintQueued = false;
    int m_twips;
    Rgb m_back{0, 0, 0};
    Rgb m_fore{0, 0, 0};
    int m_lineWidth = 1;
    double m_fontSize = 9;
    QFont m_font;
    int m_fontAscent = 0;
    int m_fontHeight = 0;
    PointF m_current;
};

} // namespace amperlog
