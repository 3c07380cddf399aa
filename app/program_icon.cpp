#include "app/program_icon.h"

#include <QDirIterator>
#include <QImageReader>
#include <QPixmap>

namespace velandri {

// Every size drawn from the SVG at build time (app/CMakeLists.txt) lies in the resource folder.
// Each is read as the PNG it is, without format detection: detection loads every image plugin
// Qt has (JPEG, SVG, ...) to ask it, which costs more of the start than the window's text.
QIcon programIcon() {
    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icon")); sizes.hasNext();) {
        QImageReader reader(sizes.next(), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage size = reader.read();
        if (!size.isNull()) icon.addPixmap(QPixmap::fromImage(size));
    }
    return icon;
}

}  // namespace velandri
