#pragma once

#include <QMargins>
#include <QSize>
#include <array>

#include "app/form_window.h"
#include "app/logic/settings_steps.h"
#include "app/logic/shared_values.h"
#include "platform/browsers.h"
#include "platform/message_box.h"
#include "platform/window_system.h"
#include "store/url_store.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QVBoxLayout;

namespace velandri {

// The settings window's buttons, named "Command1_<index>": "設定" and "終了".
enum SettingsCommand { kApply = 0, kClose = 1 };

// The settings window: password, log-off minutes, top-most and minimize flags, tab names and
// browser. It edits the store in memory only and is always top-most. On a screen too small for
// its designed size the column scrolls, and the two buttons stay in view below it.
class Form3 : public FormWindow {
    Q_OBJECT

public:
    Form3(UrlStore& store, SharedValues& shared, MessageBox& messages, WindowSystem& windows);
    ~Form3() override;

    void Form_Load() override;
    void Form_Activate() override;
    void front();
    void Command1_Click(int index);
    void Option1_Click(int index);
    void Text1_Change(int index);
    void Text2_GotFocus(int index);
    void Text2_MouseUp(int index);
    void Text3_Change();
    void Form_QueryUnload() override;

    static constexpr int kLabelCount = 17;
    static constexpr int kBrowserCount = velandri::kBrowserCount;

    std::array<QLabel*, kLabelCount> Label1{};
    QCheckBox* Check3;
    std::array<QLineEdit*, 2> Text1{};
    QLineEdit* Text3;
    QCheckBox* Check1;
    QCheckBox* Check2;
    std::array<QLineEdit*, kTabCount> Text2{};
    std::array<QRadioButton*, kBrowserCount> Option1{};
    std::array<QPushButton*, 2> Command1{};

signals:
    // The settings were applied: the main window takes the top-most choice.
    void settingsApplied();
    // The window closed by a button or its close box: the main window, if shown, becomes
    // active again.
    void mainWindowWanted();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // The close box is the "終了" button.
    CloseRequest closeRequest() const override { return CloseRequest::QueryUnload; }

private:
    void createControls();
    QWidget* createColumn();
    void fitScreen();
    void scrollToFocus(QWidget* focused);
    void addPasswordSection(QVBoxLayout* column);
    void addMinutesSection(QVBoxLayout* column);
    QCheckBox* addFlagSection(QVBoxLayout* column, int labelIndex, const QString& heading,
                              const QString& name, const QString& caption);
    void addFlagSections(QVBoxLayout* column);
    void addTabNameSection(QVBoxLayout* column);
    void addBrowserSection(QVBoxLayout* column);
    void addButtons(QVBoxLayout* layout);
    QLabel* addLabel(int index, const QString& caption);
    void selectBrowserOption();
    bool applyPassword();
    void showFields(const SettingsFields& fields);
    SettingsFields typedFields() const;

    UrlStore& store_;
    SharedValues& shared_;
    MessageBox& messages_;
    WindowSystem& windows_;
    QButtonGroup* browserGroup_;
    QScrollArea* scrollArea_;
    QSize designedSize_;
    QMargins fittedFrame_;
    // The application's focus changes reach the window until its destructor begins.
    QMetaObject::Connection focusFollowing_;
};

}  // namespace velandri
