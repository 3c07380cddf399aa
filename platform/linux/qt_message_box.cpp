#include "platform/linux/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <algorithm>

namespace velandri {

// The box belongs to the window the user is in, so the window manager keeps it above that
// window (even a top-most one) and gives the focus back to it when the box closes.
int QtMessageBox::showBox(const QString& title, const QString& text,
                          QMessageBox::StandardButtons buttons,
                          QMessageBox::StandardButton defaultButton) {
    QMessageBox box(QMessageBox::NoIcon, title, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    open_.push_back(&box);
    const int answer = box.exec();
    std::erase(open_, &box);
    return answer;
}

void QtMessageBox::notice(const QString& title, const QString& text) {
    showBox(title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessageBox::ask(const QString& title, const QString& text) {
    return showBox(title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

// The innermost box first: its answer returns before the box under it closes.
void QtMessageBox::closeOpen() {
    const std::vector<QMessageBox*> open(open_.rbegin(), open_.rend());
    for (QMessageBox* box : open) {
        QAbstractButton* unchanged = box->button(QMessageBox::No);
        if (!unchanged) unchanged = box->button(QMessageBox::Ok);
        unchanged->click();
    }
}

}  // namespace velandri
