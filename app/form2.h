#pragma once

#include "app/form_window.h"
#include "app/password_gate.h"
#include "app/store_io.h"
#include "platform/platform.h"
#include "store/url_store.h"

class Form1;
class Form3;
class QLineEdit;

// The password window: the start-up object, which loads the store and guards the main window,
// and later the log-off screen.
class Form2 : public FormWindow {
    Q_OBJECT

public:
    Form2(UrlStore& store, SharedValues& shared, Platform& platform, StoreIo& storeIo);

    void setForms(Form1* form1, Form3* form3);

    // Loads the window and shows it unless no password is set.
    void start();

    void Form_Load() override;
    void Form_Activate() override;
    void Text1_Change();
    void Form_QueryUnload() override;

    QLineEdit* Text1;
    PasswordGate gate;

private:
    UrlStore& store_;
    SharedValues& shared_;
    Platform& platform_;
    StoreIo& storeIo_;
    Form1* form1_ = nullptr;
    Form3* form3_ = nullptr;
};
