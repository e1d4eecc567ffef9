#pragma once

#include "platform/drawing_surface.h"

#include <cstddef>
#include <optional>
#include <string>

namespace amperlog::test {

// A surface that counts what is drawn on it and keeps only the current point: for graphs
// drawn from hostile data, or redrawn every second for days, where a recording would grow.
class CountingSurface final : public DrawingSurface {
public:
    CountingSurface(double width, double height) : m_width(width), m_height(height) {}

    double Width() const override { return m_width; }
    double Height() const override { return m_height; }
    int TwipsPerPixel() const override { return 15; }
    void Clear() override { m_current = {}; }
    void SetBackColor(Rgb) override { Clear(); }
    void SetForeColor(Rgb color) override { m_fore = color; }
    Rgb ForeColor() const override { return m_fore; }
    void SetLineWidth(int) override {}
    void SetFontSize(double) override {}
    void Resize(double width, double height) override {
        m_width = width;
        m_height = height;
    }
    void SetVisible(bool) override {}
    void Line(PointF, PointF to, BoxMode, std::optional<Rgb>) override {
        m_current = to;
        ++m_operations;
    }
    void Point(PointF at, std::optional<Rgb>) override {
        m_current = at;
        ++m_operations;
    }
    PointF CurrentPoint() const override { return m_current; }
    void SetCurrentPoint(PointF at) override { m_current = at; }
    void Print(const std::string&) override { ++m_operations; }

    std::size_t Operations() const { return m_operations; }

private:
    double m_width;
    double m_height;
    Rgb m_fore{255, 255, 255};
    PointF m_current;
    std::size_t m_operations = 0;
};

} // namespace amperlog::test
