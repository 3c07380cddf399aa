#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "app/form1.h"
#include "app/form1_controls.h"
#include "app/form2.h"
#include "app/form3.h"
#include "app/launcher.h"
#include "app/message_titles.h"
#include "app/program_windows.h"
#include "app/store_io.h"
#include "fakes/fake_platform.h"
#include "fakes/qt_printers.h"
#include "update/updater.h"

// Assertions on what a window system or an event loop brings about: events are processed
// until the condition holds, for at most five seconds, as Qt Test's QTRY_ macros wait.
#define ASSERT_TRUE_SOON(condition) \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); })) << #condition
#define ASSERT_EQ_SOON(actual, expected)                               \
    do {                                                               \
        (void)QTest::qWaitFor([&] { return (actual) == (expected); }); \
        ASSERT_EQ(actual, expected);                                   \
    } while (false)

namespace velandri {

// Records the load's calls and how many top-most changes came before the version check.
class FakeUpdater : public Updater {
public:
    explicit FakeUpdater(FakeWindowSystem& windows) : windows_(windows) {}
    void checkVersion(QString& latestVersion) override {
        calls << QStringLiteral("checkVersion");
        topMostCallsBeforeCheck = static_cast<int>(windows_.calls.size());
        if (answer) latestVersion = *answer;
        if (duringCheck) duringCheck();
    }
    void subUpdate() override { calls << QStringLiteral("subUpdate"); }

    std::optional<QString> answer;
    // What arrives while the check processes events.
    std::function<void()> duringCheck;
    QStringList calls;
    int topMostCallsBeforeCheck = -1;

private:
    FakeWindowSystem& windows_;
};

class FakeLauncher : public Launcher {
public:
    void openInBrowser(const QString& url) override { opened << url; }
    QStringList opened;
};

// A store that "loads" a prepared store and keeps what was saved.
class MemoryStoreIo : public StoreIo {
public:
    LoadedFile loadStore(UrlStore& store) override {
        store = loaded;
        return loadOutcome;
    }
    SaveOutcome saveStore(UrlStore& store) override {
        ++saves;
        if (saveOutcome) saved = store;
        return saveOutcome;
    }
    UrlStore loaded;
    UrlStore saved;
    LoadedFile loadOutcome = QString();
    SaveOutcome saveOutcome;
    int saves = 0;
};

// A window's control found by its object name, as a screen reader or a test tool sees it.
template <class Control>
Control* control(const QObject& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    if (!found) qFatal("no control %s in %s", qPrintable(name), qPrintable(window.objectName()));
    return found;
}

inline QPushButton* button(const QObject& window, int index) {
    return control<QPushButton>(window, QStringLiteral("Command1_%1").arg(index));
}
inline QLineEdit* box(const QObject& window, int index) {
    return control<QLineEdit>(window, QStringLiteral("Text1_%1").arg(index));
}
inline QRadioButton* option(const QObject& window, int index) {
    return control<QRadioButton>(window, QStringLiteral("Option1_%1").arg(index));
}
inline QCheckBox* flag(const QObject& window, const char* name) {
    return control<QCheckBox>(window, QString::fromLatin1(name));
}
// The settings window's minutes box and its boxes of the tab names.
inline QLineEdit* minutesBox(const QObject& window) {
    return control<QLineEdit>(window, QStringLiteral("Text3"));
}
inline QLineEdit* tabNameBox(const QObject& window, int tab) {
    return control<QLineEdit>(window, QStringLiteral("Text2_%1").arg(tab));
}
// The password window's one box.
inline QLineEdit* passwordBox(const QObject& window) {
    return control<QLineEdit>(window, QStringLiteral("Text1"));
}
inline QLabel* label(const QObject& window, int index) {
    return control<QLabel>(window, QStringLiteral("Label1_%1").arg(index));
}
inline QListWidget* list(const QObject& window) {
    return control<QListWidget>(window, QStringLiteral("List1"));
}
inline QTabBar* tabs(const QObject& window) {
    return control<QTabBar>(window, QStringLiteral("TabStrip1"));
}
inline QTimer* timer(const QObject& window, const char* name) {
    return control<QTimer>(window, QString::fromLatin1(name));
}
inline QMenu* menu(const QObject& window) { return control<QMenu>(window, QStringLiteral("Menu")); }
// The tray menu's "終了".
inline void chooseMenuEnd(const QObject& window) { menu(window)->actions().first()->trigger(); }

// The selected row of the main window's list; -1 when none is.
inline int selectedRow(const QObject& window) {
    const QList<QListWidgetItem*> items = list(window)->selectedItems();
    return items.isEmpty() ? -1 : list(window)->row(items.first());
}

// What a window does on activation, as the program calls it.
inline void activate(FormWindow& window) { window.Form_Activate(); }

inline const QString kSiteUrl = QStringLiteral("http://site.example/velandri/");

// One run of the program's windows over fakes, loading and saving through Io. Messages are
// scripted unless another message box is given.
template <class Io, class Messages = ScriptedMessageBox>
struct WindowRun {
    FakePlatform fake;
    Messages otherMessages;
    Platform platform = std::is_same_v<Messages, ScriptedMessageBox> ? fake.platform()
                                                                     : fake.platform(otherMessages);
    UrlStore store;
    SharedValues shared;
    Io storeIo;
    FakeUpdater updater{fake.windows};
    FakeLauncher launcher;
    ProgramWindows windows{store, shared, platform, storeIo, updater, launcher, kSiteUrl};
    int endings = 0;

    template <class... IoArguments>
    explicit WindowRun(IoArguments&&... ioArguments)
        : storeIo(std::forward<IoArguments>(ioArguments)...) {
        QObject::connect(&windows, &ProgramWindows::ended, [this] { ++endings; });
    }
    Form1& form1() { return windows.form1(); }
    Form2& form2() { return windows.form2(); }
    Form3& form3() { return windows.form3(); }
    void start() { windows.start(); }
};

using WindowHarness = WindowRun<MemoryStoreIo>;

// A store whose tab holds count entries "title i", "http://host/i", "content i".
inline UrlStore storeWithEntries(int tab, int count) {
    UrlStore store;
    for (int t = 0; t < kTabCount; ++t) {
        store.tabNames[t] = QStringLiteral("tab%1").arg(t + 1);
        for (int e = 0; e < kSlotCount; ++e) {
            store.entries[t][e][UrlField::number] = QString::number(e + 1);
        }
    }
    for (int e = 0; e < count; ++e) {
        UrlEntry& entry = store.entries[tab][e];
        entry[UrlField::title] = QStringLiteral("title %1").arg(e);
        entry[UrlField::url] = QStringLiteral("http://host/%1").arg(e);
        entry[UrlField::content] = QStringLiteral("content %1").arg(e);
    }
    return store;
}

}  // namespace velandri
