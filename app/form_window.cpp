#include "app/form_window.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QPointer>

namespace velandri {

namespace {

// The program window the user is in. Message boxes and the download window are not program
// windows: focus coming back from one of them is not a return to the window.
QPointer<FormWindow> activeProgramWindow;

}  // namespace

void FormWindow::Load() {
    if (loaded_) return;
    loaded_ = true;
    loading_ = true;
    Form_Load();
    loading_ = false;
    emit loadFinished();
}

void FormWindow::Show() {
    Load();
    if (loading_) return;
    show();
    activateWindow();
}

void FormWindow::Unload() {
    unloading_ = true;
    close();
}

// Activation is an opening or a return from another of the program's windows.
bool FormWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && activeProgramWindow != this) {
        activeProgramWindow = this;
        Form_Activate();
    }
    return QWidget::event(event);
}

// A window hidden by the program is opened anew when shown again. Minimizing is the window
// system's hide, not the program's.
void FormWindow::hideEvent(QHideEvent* event) {
    if (!event->spontaneous() && activeProgramWindow == this) activeProgramWindow = nullptr;
    QWidget::hideEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        event->accept();
        return;
    }
    switch (closeRequest()) {
        case CloseRequest::Refused:
            event->ignore();
            return;
        case CloseRequest::QueryUnload:
            event->ignore();
            Form_QueryUnload();
            return;
        case CloseRequest::EndsProgram:
            unloading_ = true;
            Form_QueryUnload();
            event->accept();
            return;
    }
}

}  // namespace velandri
