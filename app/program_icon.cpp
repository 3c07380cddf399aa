#include "app/program_icon.h"

#include <QStringList>

// The sizes drawn from the SVG at build time (see app/CMakeLists.txt).
QIcon programIcon() {
    QIcon icon;
    for (const char* size : {"16", "22", "24", "32", "48", "64", "128"})
        icon.addFile(QStringLiteral(":/velandri-%1.png").arg(QLatin1String(size)));
    return icon;
}
