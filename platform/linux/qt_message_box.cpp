#include "platform/linux/qt_message_box.h"

#include <QMessageBox>

namespace velandri {

namespace {

int showBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
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
