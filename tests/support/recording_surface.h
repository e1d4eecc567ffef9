#pragma once

#include "platform/drawing_surface.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace amperlog::test {

// One operation on a RecordingSurface, with the surface state it was drawn with.
struct DrawOp {
    enum class Kind {
        Clear,
        SetBackColor,
        SetForeColor,
        SetLineWidth,
        SetFontSize,
        Resize,
        SetVisible,
        Line,
        Point,
        SetCurrentPoint,
        Print,
    };
    Kind kind = Kind::Clear;
    PointF from; // Line: start; Point, Print, SetCurrentPoint: the point; Resize: the size
    PointF to;   // Line: end
    BoxMode mode = BoxMode::Line;
    Rgb color; // drawn colour (given, or the foreground colour); Set*Color: the new colour
    int lineWidth = 1;
    double fontSize = 0;
    std::string text;
    bool visible = true;
};

const char* KindName(DrawOp::Kind kind);

// A drawing surface that keeps every operation for tests to assert on. Clear() forgets the
// operations before it, as the picture does; the clear itself is kept.
class RecordingSurface final : public DrawingSurface {
public:
    explicit RecordingSurface(double width = 24000, double height = 2112, int twipsPerPixel = 15);

    double Width() const override { return m_width; }
    double Height() const override { return m_height; }
    int TwipsPerPixel() const override { return m_twipsPerPixel; }
    void SetTwipsPerPixel(int twips) { m_twipsPerPixel = twips; }

    void Clear() override;
    void SetBackColor(Rgb color) override;
    void SetForeColor(Rgb color) override;
    Rgb ForeColor() const override { return m_foreColor; }
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

    const std::vector<DrawOp>& Ops() const { return m_ops; }
    // The operations of one kind, in order.
    std::vector<DrawOp> OpsOf(DrawOp::Kind kind) const;
    // Line operations in one colour (boxes included).
    std::vector<DrawOp> LinesIn(Rgb color) const;
    // Printed texts, in order.
    std::vector<std::string> Texts() const;
    // The first Print of exactly this text, if any.
    std::optional<DrawOp> FindPrint(const std::string& text) const;
    std::size_t Count(DrawOp::Kind kind) const;
    // Forgets the operations, keeping the surface state.
    void ClearRecording() { m_ops.clear(); }
    Rgb BackColor() const { return m_backColor; }
    int LineWidth() const { return m_lineWidth; }
    double FontSize() const { return m_fontSize; }

private:
    DrawOp MakeOp(DrawOp::Kind kind) const;

    double m_width;
    double m_height;
    int m_twipsPerPixel;
    Rgb m_backColor{0, 0, 0};
    Rgb m_foreColor{255, 255, 255};
    int m_lineWidth = 1;
    double m_fontSize = 9;
    bool m_visible = true;
    PointF m_current;
    std::vector<DrawOp> m_ops;
};

} // namespace amperlog::test
