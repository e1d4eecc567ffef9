#include "graphs/text_table.h"

#include "graphs/graph_primitives.h"

#include <algorithm>

namespace amperlog {
namespace {

constexpr Rgb kBackground{0, 0, 0};
constexpr Rgb kBand{24, 24, 24};
constexpr Rgb kRule{96, 96, 96};
constexpr Rgb kLabel{192, 192, 192};
constexpr Rgb kValue{255, 255, 255};
constexpr double kFontPoints = 9;
constexpr double kRowTwips = 300; // a printed line at 9 points and a little air

void PrintRow(DrawingSurface& surface, const TextTableInput& input,
              const std::vector<std::string>& cells, double y) {
    const std::size_t count = std::min(cells.size(), input.columnLefts.size());
    for (std::size_t c = 0; c < count; ++c) {
        PrintAt(surface, input.columnLefts[c], y, cells[c]);
    }
}

} // namespace

std::size_t DrawTextTable(DrawingSurface& surface, const TextTableInput& input) {
    surface.SetBackColor(kBackground);
    surface.SetFontSize(kFontPoints);
    surface.SetLineWidth(1);
    surface.SetForeColor(kLabel);
    double y = kRowTwips * 0.5;
    for (const std::string& caption : input.captions) {
        PrintAt(surface, 120, y, caption);
        y += kRowTwips;
    }
    if (input.rows.empty()) {
        return 0;
    }
    y += kRowTwips * 0.5;
    PrintRow(surface, input, input.headings, y);
    y += kRowTwips;
    surface.Line({60, y}, {surface.Width() - 60, y}, BoxMode::Line, kRule);
    y += 45;
    surface.SetForeColor(kValue);
    std::size_t printed = 0;
    for (const std::vector<std::string>& row : input.rows) {
        if (y + kRowTwips > surface.Height()) {
            break;
        }
        if (printed % 2 == 1) {
            surface.Line({60, y}, {surface.Width() - 60, y + kRowTwips}, BoxMode::Filled, kBand);
        }
        PrintRow(surface, input, row, y + 15);
        y += kRowTwips;
        ++printed;
    }
    surface.SetForeColor(kLabel);
    return printed;
}

} // namespace amperlog
