#include "platform/linux/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace velandri {

namespace {

// The box belongs to the window the user is in, so the window manager keeps it above that
// window (even a top-most one) and gives the focus back to it when the box closes.
int showBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

void QtMessageBox::notice(const QString& title, const QString& text) {
    showBox(title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBox::ask(const QString& title, const QString& text) {
    return showBox(title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

}  // namespace velandri
