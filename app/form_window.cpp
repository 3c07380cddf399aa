#include "app/form_window.h"

#include <QCloseEvent>

void FormWindow::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void FormWindow::Show() {
    Load();
    show();
    activateWindow();
}

void FormWindow::Unload() {
    unloading_ = true;
    close();
}

bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) Form_Activate();
    return QWidget::event(event);
}

// Closing a window by its close box ends the program without saving.
void FormWindow::closeEvent(QCloseEvent* event) {
    if (!unloading_) {
        unloading_ = true;
        Form_QueryUnload();
    }
    event->accept();
}
