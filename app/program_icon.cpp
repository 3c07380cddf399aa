#include "app/program_icon.h"

#include <QDirIterator>

// Every size drawn from the SVG at build time (app/CMakeLists.txt) lies in the resource folder.
QIcon programIcon() {
    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icon")); sizes.hasNext();) icon.addFile(sizes.next());
    return icon;
}
