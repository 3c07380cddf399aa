// Draws the program's SVG icon into PNG files at build time, one for each size given, so that
// the program reads plain pictures and needs no SVG renderer when it starts.
// Usage: velandri-render-icon SVG FOLDER SIZE...
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

QImage drawn(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

int fail(const QString& message) {
    std::fprintf(stderr, "velandri-render-icon: %s\n", qUtf8Printable(message));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4) return fail(QStringLiteral("usage: SVG FOLDER SIZE..."));
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) return fail(arguments[1] + QStringLiteral(": not a usable SVG"));
    for (const QString& size : arguments.mid(3)) {
        const QString file = QStringLiteral("%1/velandri-%2.png").arg(arguments[2], size);
        if (size.toInt() <= 0 || !drawn(renderer, size.toInt()).save(file))
            return fail(file + QStringLiteral(": cannot be written"));
    }
    return 0;
}
