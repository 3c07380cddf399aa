#include "app/twips.h"

#include <QWidget>

namespace velandri {

namespace {
constexpr double kTwipsPerInch = 1440.0;
}  // namespace

int twipsToPixelsX(const QWidget* widget, int twips) {
    return qRound(twips * widget->logicalDpiX() / kTwipsPerInch);
}

int twipsToPixelsY(const QWidget* widget, int twips) {
    return qRound(twips * widget->logicalDpiY() / kTwipsPerInch);
}

int pixelsToTwipsY(const QWidget* widget, int pixels) {
    return qRound(pixels * kTwipsPerInch / widget->logicalDpiY());
}

QRect twipsRect(const QWidget* widget, int left, int top, int width, int height) {
    return QRect(twipsToPixelsX(widget, left), twipsToPixelsY(widget, top),
                 twipsToPixelsX(widget, width), twipsToPixelsY(widget, height));
}

}  // namespace velandri
