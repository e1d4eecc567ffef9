#include "platform/qt/qt_fonts.h"

#include <QStringList>

namespace amperlog {

QFont UiFont(double points) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPointSizeF(points);
    return font;
}

} // namespace amperlog
