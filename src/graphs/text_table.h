#pragma once

#include "platform/drawing_surface.h"

#include <cstddef>
#include <string>
#include <vector>

namespace amperlog {

// Lines of text above a table of columns, in the health graph's colours.
struct TextTableInput {
    std::vector<std::string> captions;
    std::vector<std::string> headings;
    std::vector<double> columnLefts; // twips, one per heading
    std::vector<std::vector<std::string>> rows;
};

// Prints the captions, then the headings over a rule and as many rows as the surface holds,
// every other row on a dim band. Returns the number of rows printed.
std::size_t DrawTextTable(DrawingSurface& surface, const TextTableInput& input);

} // namespace amperlog
