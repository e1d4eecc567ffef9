#pragma once

#include "platform/drawing_surface.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

class QPainter;

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
    // What the picture's pixels depend on besides the operations: drawn with the same
    // operations from the same start, two pictures are the same.
    enum class Step : std::uint64_t { Clear = 1, Resize, Fill, Outline, Line, Point, Print };
    // A drawing operation in pixels, kept until the picture is next shown or read.
    struct Operation {
        Step step;
        QPoint from;
        QPoint to;
        QRgb color;
        int width;
        // Print: the index of the text in m_texts.
        std::size_t text;
    };
    struct Text {
        QString text;
        QFont font;
        int ascent;
    };

    QPoint ToPixels(PointF at) const;
    void UpdateFont();
    void SyncImageSize();
    bool CanPaint();
    void Record(std::initializer_list<std::uint64_t> values);
    void Queue(const Operation& operation);
    void Commit();
    void Paint(QPainter& painter, const Operation& operation);
    void UsePen(QPainter& painter, QRgb color, int width);
    void QueueRepaint();
    void RepaintIfChanged();

    QImage m_image;
    // The monitor redraws its curve and gauge every second, nearly always the same. Drawing
    // is therefore recorded first and painted when the picture is shown or read, and only
    // when it differs from the one the image holds; an unchanged picture is not repainted.
    // Digests of what was drawn since the picture was last cleared: with the pending
    // operations, in the image, and on the screen.
    std::uint64_t m_drawing = 0;
    std::uint64_t m_painted = 0;
    std::uint64_t m_shown = 0;
    std::optional<QRgb> m_pendingClear;
    std::vector<Operation> m_pending;
    std::vector<Text> m_texts;
    // The widget's size when the pending drawing began.
    QSize m_pendingSize;
    bool m_repaintQueued = false;
    bool m_penSet = false;
    QRgb m_penColor = 0;
    int m_penWidth = 0;
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
