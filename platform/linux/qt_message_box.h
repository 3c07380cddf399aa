#pragma once

#include "platform/message_box.h"

namespace velandri {

class QtMessageBox : public MessageBox {
public:
    void notice(const QString& title, const QString& text) override;
    bool ask(const QString& title, const QString& text) override;
};

}  // namespace velandri
