#include "app/form2.h"

#include <QLineEdit>

#include "app/logic/failure_texts.h"
#include "app/message_titles.h"
#include "app/password_box.h"
#include "app/program_icon.h"
#include "app/twips.h"
#include "app/window_font.h"

namespace velandri {

namespace {
constexpr int kBoxWidthTwips = 2880;
constexpr int kBoxHeightTwips = 330;
}  // namespace

Form2::Form2(UrlStore& store, SharedValues& shared, MessageBox& messages, StoreIo& storeIo)
    : store_(store), shared_(shared), messages_(messages), storeIo_(storeIo) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("パスワード入力"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(windowTitle());
    makePasswordBox(Text1);
    const QRect box = twipsRect(this, 0, 0, kBoxWidthTwips, kBoxHeightTwips);
    Text1->setGeometry(box);
    setFixedSize(box.size());
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
}

void Form2::clearPassword() { Text1->setText(QString()); }

void Form2::start() {
    Load();
    if (!store_.password.isEmpty()) Show();
}

void Form2::Form_Load() {
    if (const LoadedFile loaded = storeIo_.loadStore(store_); !loaded)
        messages_.notice(kMessageTitle, loadFailureNotice(loaded.error()));
    if (store_.password.isEmpty()) {
        hide();
        emit gateOpened();
    }
    gate.reset(store_.password);
}

void Form2::Form_Activate() { Text1->setFocus(); }

void Form2::Text1_Change() {
    if (gate.check(Text1->text()) != PasswordGate::Verdict::Open) return;
    emit gateOpened();
    hide();
    shared_.logoffTicks = 0;
}

void Form2::Form_QueryUnload() { emit endRequested(); }

}  // namespace velandri
