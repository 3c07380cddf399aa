#include "app/typing_limit.h"

#include <QLineEdit>
#include <QVariant>
#include <algorithm>

namespace velandri {

namespace {

const char* const kLimitProperty = "typingLimit";

int typingLimit(const QLineEdit* box) {
    const QVariant limit = box->property(kLimitProperty);
    return limit.isValid() ? limit.toInt() : box->maxLength();
}

void fitLimitTo(QLineEdit* box, qsizetype length) {
    box->setMaxLength(int(std::max<qsizetype>(typingLimit(box), length)));
}

}  // namespace

void limitTyping(QLineEdit* box, int limit) {
    box->setProperty(kLimitProperty, limit);
    box->setMaxLength(limit);
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box](const QString& text) { fitLimitTo(box, text.size()); });
}

void setWholeText(QLineEdit* box, const QString& text) {
    fitLimitTo(box, text.size());
    box->setText(text);
}

}  // namespace velandri
