#include "app/form3.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

#include "app/message_titles.h"
#include "app/password_box.h"
#include "app/program_icon.h"
#include "app/twips.h"
#include "app/window_font.h"
#include "store/text.h"

namespace velandri {

namespace {

constexpr int kClientWidthTwips = 2400;
constexpr int kClientHeightTwips = 9630;
constexpr int kFirstTabLabel = 6;
constexpr int kBrowserHeading = 16;
constexpr int kSectionGap = 3;  // pixels between the headed sections

// A heading's text without its bullet, as a screen reader should say it.
QString spokenHeading(const QLabel* heading) { return heading->text().remove(u'●'); }

// The minutes box takes at most two digits; the full-width digits of an input method are taken
// as the digits they are, so the box holds ASCII digits only.
class MinutesValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = withAsciiDigits(input);
        static const QRegularExpression digits(QStringLiteral("\\A[0-9]{0,2}\\z"));
        return digits.match(input).hasMatch() ? Acceptable : Invalid;
    }
};

QMargins frameOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

}  // namespace

Form3::Form3(UrlStore& store, SharedValues& shared, MessageBox& messages, WindowSystem& windows)
    : store_(store), shared_(shared), messages_(messages), windows_(windows) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("各種設定"));
    setWindowIcon(programIcon());
    setFont(windowFont());
    createControls();
    designedSize_ =
        QSize(twipsToPixelsX(this, kClientWidthTwips), twipsToPixelsY(this, kClientHeightTwips));
    setFixedSize(designedSize_);
    focusFollowing_ = connect(qApp, &QApplication::focusChanged, this,
                              [this](QWidget*, QWidget* focused) { scrollToFocus(focused); });
}

// Hiding the window while it is destroyed moves the focus, which must not reach a member.
Form3::~Form3() { disconnect(focusFollowing_); }

QLabel* Form3::addLabel(int index, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    Label1[index] = label;
    return label;
}

void Form3::createControls() {
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("settingsColumn"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidget(createColumn());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(1);
    layout->addWidget(scrollArea_, 1);
    addButtons(layout);
}

QWidget* Form3::createColumn() {
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(6, 4, 6, 0);
    column->setSpacing(1);
    addPasswordSection(column);
    addMinutesSection(column);
    addFlagSections(column);
    addTabNameSection(column);
    addBrowserSection(column);
    column->addStretch(1);
    return content;
}

void Form3::addPasswordSection(QVBoxLayout* column) {
    column->addWidget(addLabel(0, QStringLiteral("●パスワードの設定")));
    Check3 = new QCheckBox(QStringLiteral("パスワード消去"), this);
    Check3->setObjectName(QStringLiteral("Check3"));
    column->addWidget(Check3);
    for (int i = 0; i < 2; ++i) {
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QStringLiteral("Text1_%1").arg(i));
        Text1[i]->setAccessibleName(spokenHeading(Label1[0]));
        makePasswordBox(Text1[i]);
        connect(Text1[i], &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
        column->addWidget(Text1[i]);
    }
}

void Form3::addMinutesSection(QVBoxLayout* column) {
    column->addSpacing(kSectionGap);
    column->addWidget(addLabel(1, QStringLiteral("●自動ログオフ時間(1-60分)")));
    column->addWidget(addLabel(2, QStringLiteral("(0はログオフしない)")));
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setAccessibleName(spokenHeading(Label1[1]));
    Text3->setAccessibleDescription(Label1[2]->text());
    Text3->setMaxLength(2);
    Text3->setValidator(new MinutesValidator(Text3));
    Text3->setFixedWidth(twipsToPixelsX(this, 600));
    connect(Text3, &QLineEdit::textChanged, this, [this] { Text3_Change(); });
    column->addWidget(Text3);
}

QCheckBox* Form3::addFlagSection(QVBoxLayout* column, int labelIndex, const QString& heading,
                                 const QString& name, const QString& caption) {
    column->addSpacing(kSectionGap);
    column->addWidget(addLabel(labelIndex, heading));
    auto* check = new QCheckBox(caption, this);
    check->setObjectName(name);
    column->addWidget(check);
    return check;
}

void Form3::addFlagSections(QVBoxLayout* column) {
    Check1 = addFlagSection(column, 3, QStringLiteral("●ソフト最前面表示"),
                            QStringLiteral("Check1"), QStringLiteral("最前面表示"));
    Check2 = addFlagSection(column, 4, QStringLiteral("●URL起動時のソフト動作"),
                            QStringLiteral("Check2"), QStringLiteral("最小化"));
}

void Form3::addTabNameSection(QVBoxLayout* column) {
    column->addSpacing(kSectionGap);
    column->addWidget(addLabel(5, QStringLiteral("●タブ名設定")));
    auto* tabNames = new QGridLayout;
    tabNames->setHorizontalSpacing(4);
    tabNames->setVerticalSpacing(1);
    for (int i = 0; i < kTabCount; ++i) {
        tabNames->addWidget(addLabel(kFirstTabLabel + i, QStringLiteral("ﾀﾌﾞ%1").arg(i + 1)), i, 0);
        Text2[i] = new QLineEdit(this);
        Text2[i]->setObjectName(QStringLiteral("Text2_%1").arg(i));
        Text2[i]->setAccessibleName(Label1[kFirstTabLabel + i]->text());
        Text2[i]->installEventFilter(this);
        tabNames->addWidget(Text2[i], i, 1);
    }
    column->addLayout(tabNames);
}

void Form3::addBrowserSection(QVBoxLayout* column) {
    column->addSpacing(kSectionGap);
    column->addWidget(addLabel(kBrowserHeading, QStringLiteral("●表示webブラウザ")));
    browserGroup_ = new QButtonGroup(this);
    for (int i = 0; i < kBrowserCount; ++i) {
        Option1[i] = new QRadioButton(kBrowsers[i].caption, this);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        browserGroup_->addButton(Option1[i], i);
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
        column->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);
}

void Form3::addButtons(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 0);
    const char* const captions[] = {"設定", "終了"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        buttons->addWidget(Command1[i]);
    }
    layout->addLayout(buttons);
}

void Form3::Form_Load() {
    front();
    if (!keepLogoffWithPassword(store_)) Text3->setEnabled(false);
    showFields(shownSettings(store_));
}

void Form3::showFields(const SettingsFields& fields) {
    Check1->setChecked(fields.topMost);
    Check2->setChecked(fields.minimizeOnLaunch);
    Text3->setText(fields.minutesText);
    for (int i = 0; i < kTabCount; ++i) Text2[i]->setText(fields.tabNames[i]);
}

SettingsFields Form3::typedFields() const {
    SettingsFields fields;
    fields.topMost = Check1->isChecked();
    fields.minimizeOnLaunch = Check2->isChecked();
    fields.minutesText = Text3->text();
    for (int i = 0; i < kTabCount; ++i) fields.tabNames[i] = Text2[i]->text();
    return fields;
}

void Form3::front() { windows_.setTopMost(this, true); }

void Form3::Form_Activate() {
    Text1[0]->setFocus();
    Text1[0]->setText(QString());
    Text1[1]->setText(QString());
    Check3->setEnabled(passwordIsSet(store_));
    selectBrowserOption();
}

// A code outside 0..4 from the data file selects no option and is left as it is.
void Form3::selectBrowserOption() {
    const int code = store_.browser;
    if (code >= 0 && code < kBrowserCount) {
        Option1[code]->setChecked(true);
        Option1_Click(code);
        return;
    }
    browserGroup_->setExclusive(false);
    for (QRadioButton* option : Option1) option->setChecked(false);
    browserGroup_->setExclusive(true);
}

void Form3::Option1_Click(int index) {
    if (browserChoiceNeedsNotice(index, store_.browser)) {
        messages_.notice(
            kMessageTitle,
            QStringLiteral(
                "Internet Explorer以外は、各自でブラウザをインストール・設定して下さい。\r\n"
                "標準フォルダにインストールされている必要があります。"));
    }
    store_.browser = static_cast<int16_t>(index);
}

void Form3::Text1_Change(int) {
    Text3->setEnabled(!Text1[0]->text().isEmpty() && !Text1[1]->text().isEmpty());
}

void Form3::Text2_GotFocus(int index) { Text2[index]->selectAll(); }

void Form3::Text2_MouseUp(int index) { Text2[index]->selectAll(); }

void Form3::Text3_Change() { shared_.logoffTicks = 0; }

void Form3::Command1_Click(int index) {
    if (!applyPassword()) return;
    if (minutesAboveLongest(Text3->text())) Text3->setText(QString::number(kLongestLogoffMinutes));
    if (index == kApply) {
        applySettings(store_, typedFields());
        emit settingsApplied();
    }
    hide();
    emit mainWindowWanted();
}

// False when the click ends here with a message.
bool Form3::applyPassword() {
    const PasswordChange change =
        applyPasswordBoxes(store_, Check3->isChecked(), Text1[0]->text(), Text1[1]->text());
    if (change == PasswordChange::ConfirmationMissing) {
        messages_.notice(kMessageTitle, QStringLiteral("確認用パスワード欄が空欄です。"));
    }
    if (change == PasswordChange::Mismatch) {
        messages_.notice(
            kMessageTitle,
            QStringLiteral("入力した2つのパスワードが一致しません。\r\n再度入力して下さい。"));
        Text1[0]->setText(QString());
        Text1[1]->setText(QString());
    }
    return change == PasswordChange::Unchanged || change == PasswordChange::Set;
}

// The close box does what "終了" does, its messages included: the session's work stays.
void Form3::Form_QueryUnload() { Command1_Click(kClose); }

void Form3::showEvent(QShowEvent* event) {
    fitScreen();
    FormWindow::showEvent(event);
}

// The window manager's frame is known only once it has framed the window, which moves it.
void Form3::moveEvent(QMoveEvent* event) {
    if (frameOf(this) != fittedFrame_) fitScreen();
    FormWindow::moveEvent(event);
}

void Form3::fitScreen() {
    fittedFrame_ = frameOf(this);
    const int scrollBarExtent = scrollArea_->verticalScrollBar()->sizeHint().width();
    const std::optional<QRect> fitted = clientFittedToScreen(
        screen()->availableGeometry(), QRect(geometry().topLeft(), designedSize_), fittedFrame_,
        scrollBarExtent);
    setFixedSize(fitted ? fitted->size() : designedSize_);
    if (fitted && fitted->topLeft() != geometry().topLeft()) {
        move(fitted->topLeft() - QPoint(fittedFrame_.left(), fittedFrame_.top()));
    }
}

void Form3::scrollToFocus(QWidget* focused) {
    if (focused != nullptr && scrollArea_->widget()->isAncestorOf(focused)) {
        scrollArea_->ensureWidgetVisible(focused);
    }
}

// The box's own handling of the event moves the cursor first; the whole text is selected
// after it.
bool Form3::eventFilter(QObject* watched, QEvent* event) {
    const auto found = std::find(Text2.begin(), Text2.end(), watched);
    if (found != Text2.end()) {
        const int index = static_cast<int>(found - Text2.begin());
        if (event->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, this, [this, index] { Text2_GotFocus(index); });
        } else if (event->type() == QEvent::MouseButtonRelease) {
            QTimer::singleShot(0, this, [this, index] { Text2_MouseUp(index); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velandri
