#pragma once

#include "helpers/rgb.h"

#include <cstdint>
#include <optional>
#include <string>

namespace amperlog {

struct PointF {
    double x = 0;
    double y = 0;
    friend constexpr bool operator==(const PointF&, const PointF&) = default;
};

enum class BoxMode { Line, Outline, Filled };

// A picture surface in twips, y growing downwards. Colour, line width and font size are
// state that persists between drawings; line and point operations leave the current point
// at their end.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    virtual double Width() const = 0;  // twips
    virtual double Height() const = 0; // twips
    // Twips per device pixel of this surface (15 on a 96-dpi screen).
    virtual int TwipsPerPixel() const = 0;

    // Fills with the background colour; the current point goes to (0, 0).
    virtual void Clear() = 0;
    // Sets the background colour and clears.
    virtual void SetBackColor(Rgb color) = 0;
    virtual void SetForeColor(Rgb color) = 0;
    virtual Rgb ForeColor() const = 0;
    virtual void SetLineWidth(int pixels) = 0;
    virtual void SetFontSize(double points) = 0;
    // Resizes the surface (twips); used by the gauge.
    virtual void Resize(double width, double height) = 0;
    virtual void SetVisible(bool visible) = 0;

    // A line (or a box with the two points as corners) in the given colour, or the
    // foreground colour when none is given.
    virtual void Line(PointF from, PointF to, BoxMode mode = BoxMode::Line,
                      std::optional<Rgb> color = std::nullopt) = 0;
    // Same, from the current point.
    void LineTo(PointF to, BoxMode mode = BoxMode::Line, std::optional<Rgb> color = std::nullopt) {
        Line(CurrentPoint(), to, mode, color);
    }
    // Same, to an end point relative to the start.
    void LineRelative(PointF from, PointF delta, BoxMode mode = BoxMode::Line,
                      std::optional<Rgb> color = std::nullopt) {
        Line(from, {from.x + delta.x, from.y + delta.y}, mode, color);
    }
    virtual void Point(PointF at, std::optional<Rgb> color = std::nullopt) = 0;

    virtual PointF CurrentPoint() const = 0;
    virtual void SetCurrentPoint(PointF at) = 0;
    // Prints UTF-8 text with its top-left corner at the current point, in the foreground
    // colour; the current point then moves to the start of the next line.
    virtual void Print(const std::string& text) = 0;
};

} // namespace amperlog
