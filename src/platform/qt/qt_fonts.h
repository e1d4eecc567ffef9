#pragma once

#include <QFont>

namespace amperlog {

// The program's text face at the given size: "ＭＳ Ｐゴシック", or the first of its stand-ins
// that the system has ("MS PGothic", "IPAPGothic" with the same metrics, "Noto Sans CJK JP").
QFont UiFont(double points);

} // namespace amperlog
