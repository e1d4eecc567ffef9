#pragma once

#include "drawing_surface.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace amperlog::fuzz {

// A folder of this process's own, on a memory file system where there is one; removed when
// the process ends normally.
const std::filesystem::path& ScratchFolder();

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
std::string ReadBytes(const std::filesystem::path& path);

// A property that failed: libFuzzer keeps the input as a crash.
[[noreturn]] void Fail(const char* what, const char* file, int line);

#define AMPERLOG_FUZZ_CHECK(condition)                                                             \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::amperlog::fuzz::Fail(#condition, __FILE__, __LINE__);                                \
        }                                                                                          \
    } while (false)

// A drawing surface that only keeps the current point, so that graphs can be drawn from
// hostile data without a window.
class NullSurface final : public DrawingSurface {
public:
    NullSurface(double width, double height) : m_width(width), m_height(height) {}

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

} // namespace amperlog::fuzz
