#include "app/program_icon.h"

#include <QDirIterator>
#include <QPixmap>
#include <QResource>
#include <cmath>

namespace velandri {

namespace {

// A square of premultiplied ARGB32 pixels as app/CMakeLists.txt builds it in; null when the
// byte count is not that of a square.
QImage squareOfPixels(const QByteArray& pixels) {
    const int side = int(std::lround(std::sqrt(double(pixels.size()) / 4)));
    if (side == 0 || qsizetype(side) * side * 4 != pixels.size()) return {};
    return QImage(reinterpret_cast<const uchar*>(pixels.constData()), side, side,
                  QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

// Every size drawn from the SVG at build time lies in the resource folder, uncompressed, so that
// the pixels are used where they lie: decoding seven PNGs cost more of the start than the
// window's text.
QIcon programIcon() {
    QIcon icon;
    for (QDirIterator sizes(QStringLiteral(":/icon")); sizes.hasNext();) {
        const QByteArray pixels = QResource(sizes.next()).uncompressedData();
        const QImage size = squareOfPixels(pixels);
        if (!size.isNull()) icon.addPixmap(QPixmap::fromImage(size));
    }
    return icon;
}

}  // namespace velandri
