#pragma once

#include <QMessageBox>
#include <vector>

#include "platform/message_box.h"

namespace velandri {

class QtMessageBox : public MessageBox {
public:
    void notice(const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;
    void closeOpen() override;

private:
    int showBox(const QString& title, const QString& text, QMessageBox::StandardButtons buttons,
                QMessageBox::StandardButton defaultButton);

    // The boxes shown and not yet answered, the innermost last.
    std::vector<QMessageBox*> open_;
};

}  // namespace velandri
