// Draws the program's SVG icon at build time into one file of bare pixels for each size given
// (premultiplied ARGB32, row after row, in this machine's byte order), so that the program takes
// its icon as it is: no SVG renderer, and no PNG to inflate, while it starts.
// Usage: velandri-render-icon SVG FOLDER SIZE...
#include <QFile>
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

bool writePixels(const QImage& image, const QString& file) {
    QFile out(file);
    const qsizetype bytes = image.sizeInBytes();
    return out.open(QIODevice::WriteOnly) &&
           out.write(reinterpret_cast<const char*>(image.constBits()), bytes) == bytes;
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
        const QString file = QStringLiteral("%1/velandri-%2.argb32").arg(arguments[2], size);
        if (size.toInt() <= 0 || !writePixels(drawn(renderer, size.toInt()), file))
            return fail(file + QStringLiteral(": cannot be written"));
    }
    return 0;
}
