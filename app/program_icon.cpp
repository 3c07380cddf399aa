#include "app/program_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library must be registered by name, outside any namespace.
static void loadResources() { Q_INIT_RESOURCE(velandri); }

namespace {

QPixmap render(QSvgRenderer& renderer, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    loadResources();
    // Rendered here rather than through the SVG icon plugin, which may not be installed.
    QSvgRenderer renderer(QStringLiteral(":/velandri.svg"));
    QIcon icon;
    if (!renderer.isValid()) return icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(render(renderer, size));
    return icon;
}
