#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace amperlog {

// Drawing in pixels, recorded to be painted onto an image later, and only when it differs from
// what the image holds. The monitor redraws its curve and gauge every second, nearly always
// the same: a digest of everything drawn since the picture was last cleared tells an
// unchanged picture, which is then not painted again.
class PendingPicture {
public:
    enum class Shape { Fill, Outline, Line };

    // Drops what is pending: the picture starts again in color, on an image of imageSize
    // device pixels.
    void Clear(QRgb color, QSize imageSize);
    // Fill and Outline take from and to as opposite corners.
    void Draw(Shape shape, QPoint from, QPoint to, QRgb color, int width);
    void DrawPoint(QPoint at, QRgb color, int width);
    // text is drawn with its top left corner at at.
    void DrawText(QPoint at, QRgb color, const std::string& text, double fontSize,
                  const QFont& font, int ascent);
    // The image was replaced by one of imageSize device pixels that holds what was painted,
    // and back in the new area.
    void Resized(QSize imageSize, QRgb back);

    // True while there is drawing that has not been painted.
    bool Pending() const { return !m_pending.empty() || m_pendingClear; }
    // Paints what is pending onto image, which holds what was painted before.
    void PaintOnto(QImage& image);
    // The digest of what the image holds after the last PaintOnto.
    std::uint64_t Painted() const { return m_painted; }

private:
    enum class Step : std::uint64_t { Clear = 1, Resize, Fill, Outline, Line, Point, Print };
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

    void Record(std::initializer_list<std::uint64_t> values);
    void Queue(const Operation& operation);
    void Paint(QPainter& painter, const Operation& operation);
    void UsePen(QPainter& painter, QRgb color, int width);

    // Digests of what was drawn since the picture was last cleared: with the pending
    // operations, and in the image.
    std::uint64_t m_drawing = 0;
    std::uint64_t m_painted = 0;
    std::optional<QRgb> m_pendingClear;
    std::vector<Operation> m_pending;
    std::vector<Text> m_texts;
    bool m_penSet = false;
    QRgb m_penColor = 0;
    int m_penWidth = 0;
};

} // namespace amperlog
