#pragma once

#include "texts/catalogue.h"

#include <QString>

namespace amperlog {

// A text of the catalogue in the interface language, for a widget.
inline QString QtText(TextId id) {
    const std::string_view text = Text(id);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace amperlog
