#include "app/password_box.h"

#include <QLineEdit>
#include <QProxyStyle>

#include "store/url_store.h"

namespace velandri {

namespace {

// Styles echo passwords with their own character (often a bullet); the boxes show "*".
class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return u'*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}  // namespace

void makePasswordBox(QLineEdit* box) {
    auto* style = new StarPasswordStyle;
    style->setParent(box);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(kPasswordLimit);
}

}  // namespace velandri
