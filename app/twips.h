#pragma once

#include <QRect>

class QWidget;

namespace velandri {

// Window geometry is laid out in twips (1/1440 inch) and shown at the screen's logical DPI.
int twipsToPixelsX(const QWidget* widget, int twips);
int twipsToPixelsY(const QWidget* widget, int twips);
int pixelsToTwipsY(const QWidget* widget, int pixels);
QRect twipsRect(const QWidget* widget, int left, int top, int width, int height);

}  // namespace velandri
