#include "app/window_font.h"

#include <QStringList>

QFont windowFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")});
    font.setPointSize(9);
    return font;
}
