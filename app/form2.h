#pragma once

#include "app/form_window.h"
#include "app/logic/password_gate.h"
#include "app/logic/shared_values.h"
#include "app/store_io.h"
#include "platform/message_box.h"
#include "store/url_store.h"

class QLineEdit;

namespace velandri {

// The password window: the start-up object, which loads the store and guards the main window,
// and later the log-off screen.
class Form2 : public FormWindow {
    Q_OBJECT

public:
    Form2(UrlStore& store, SharedValues& shared, MessageBox& messages, StoreIo& storeIo);

    // Loads the window and shows it unless no password is set.
    void start();
    // Empties the box when the window comes back for a log-off.
    void clearPassword();

    void Form_Load() override;
    void Form_Activate() override;
    void Text1_Change();
    void Form_QueryUnload() override;

    QLineEdit* Text1;
    PasswordGate gate;

signals:
    // The password was typed, or none is set: the main window is due.
    void gateOpened();

private:
    UrlStore& store_;
    SharedValues& shared_;
    MessageBox& messages_;
    StoreIo& storeIo_;
};

}  // namespace velandri
