#pragma once

#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace velandri {

// Recording fakes of every platform interface. A test builds one FakePlatform, sets what the
// world should answer, hands platform() to the code under test and reads what was recorded.

struct StartedProcess {
    QString commandLine;
    WindowStyle style;
};

class FakeProcessStarter : public ProcessStarter {
public:
    bool start(const QString& commandLine, WindowStyle style) override {
        started.push_back({commandLine, style});
        return startSucceeds;
    }
    bool allowToRun(const QString& programPath) override {
        allowedToRun << programPath;
        return true;
    }
    QStringList allowedToRun;
    std::vector<StartedProcess> started;
    bool startSucceeds = true;
};

class FakeFileSystem : public FileSystem {
public:
    bool programExists(const QString& designedPath) override {
        queried << designedPath;
        return existing.contains(designedPath);
    }
    bool setCurrentDirectory(const QString& folder) override {
        currentDirectory = folder;
        return true;
    }
    QSet<QString> existing;
    QStringList queried;
    QString currentDirectory;
};

class FakeUserInfo : public UserInfo {
public:
    QString userName() override {
        ++calls;
        return name;
    }
    QString name = QStringLiteral("tester");
    int calls = 0;
};

class FakeClock : public Clock {
public:
    qint64 milliseconds() override { return now; }
    qint64 now = 1000;
};

// Waiting advances the fake clock instead of sleeping.
class FakeEventPump : public EventPump {
public:
    explicit FakeEventPump(FakeClock& clock) : clock_(clock) {}
    void processPending() override { ++pendingRuns; }
    void waitForEvents(int maxMs) override {
        waits.push_back(maxMs);
        clock_.now += maxMs;
    }
    int pendingRuns = 0;
    std::vector<int> waits;

private:
    FakeClock& clock_;
};

class FakeAutomationObject;

class FakeAutomationFactory : public AutomationFactory {
public:
    std::unique_ptr<AutomationObject> create(const QString& className) override;
    bool canCreate = true;
    QStringList created;  // class names
    QStringList log;      // "create CLASS", "Navigate URL", "Visible 1", "release"
    qint64 createdAt = -1;
    qint64 navigatedAt = -1;
    FakeClock* clock = nullptr;
};

class FakeAutomationObject : public AutomationObject {
public:
    explicit FakeAutomationObject(FakeAutomationFactory& factory) : factory_(factory) {}
    ~FakeAutomationObject() override { factory_.log << QStringLiteral("release"); }
    bool Navigate(const QString& url) override {
        factory_.log << QStringLiteral("Navigate ") + url;
        if (factory_.clock) factory_.navigatedAt = factory_.clock->now;
        return true;
    }
    void setVisible(bool visible) override {
        factory_.log << QStringLiteral("Visible %1").arg(visible ? 1 : 0);
    }

private:
    FakeAutomationFactory& factory_;
};

inline std::unique_ptr<AutomationObject> FakeAutomationFactory::create(const QString& className) {
    log << QStringLiteral("create ") + className;
    if (!canCreate) return nullptr;
    created << className;
    if (clock) createdAt = clock->now;
    return std::make_unique<FakeAutomationObject>(*this);
}

class FakeHttpClient : public HttpClient {
public:
    Result<HttpResponse> get(const QString& url) override { return download(url, {}); }
    Result<HttpResponse> download(const QString& url, const HttpProgress& progress) override {
        requested << url;
        if (progress && response) {
            const qint64 size = response.value().body.size();
            if (!progress(size, size))
                return Failure{FailureKind::transferFailed, QStringLiteral("abandoned")};
        }
        return response;
    }
    Result<HttpResponse> response =
        Failure{FailureKind::transferFailed, QStringLiteral("no answer set")};
    QStringList requested;
};

class FakeZipExtractor : public ZipExtractor {
public:
    Result<> extract(const QString& archivePath, const QString& folder) override {
        calls.push_back({archivePath, folder});
        return result;
    }
    std::vector<std::pair<QString, QString>> calls;
    Result<> result;
};

class FakeSignatureVerifier : public SignatureVerifier {
public:
    Result<QByteArray> verify(const QByteArray& data, const QByteArray& signature) override {
        calls.push_back({data, signature});
        return result;
    }
    std::vector<std::pair<QByteArray, QByteArray>> calls;
    Result<QByteArray> result = QByteArray("version:1.7 file:Pelkamo.zip");
};

class FakeProgramEnd : public ProgramEnd {
public:
    void endNow() override { ++ended; }
    int ended = 0;
};

struct ShownMessage {
    QString title;
    QString text;
    bool question;
};

// Answers questions from a queue (Yes when the queue is empty) and records every message.
class ScriptedMessageBox : public MessageBox {
public:
    void notice(const QString& title, const QString& text) override {
        shown.push_back({title, text, false});
    }
    bool ask(const QString& title, const QString& text) override {
        shown.push_back({title, text, true});
        if (answers.empty()) return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // The scripted boxes answer as they are shown; none stays open.
    void closeOpen() override {}
    void setNextAnswer(bool yes) { answers.push_back(yes); }
    std::deque<bool> answers;
    std::vector<ShownMessage> shown;
};

class FakeWindowSystem : public WindowSystem {
public:
    void setTopMost(QWidget* window, bool topMost) override { calls.push_back({window, topMost}); }
    // No input method here: the key arrives as it is.
    void typeThroughInputMethod(QWidget* focused, const QKeyEvent& key) override {
        QKeyEvent again(key.type(), key.key(), key.modifiers(), key.text(), key.isAutoRepeat(),
                        key.count());
        QCoreApplication::sendEvent(focused, &again);
    }
    // No window manager here: a shown window is never mapped minimized.
    void showNormalWhenShown(QWidget*) override {}
    std::vector<std::pair<QWidget*, bool>> calls;
};

class FakeTrayIcon : public TrayIcon {
public:
    bool isAvailable() override { return available; }
    void add(const QIcon&, const QString& tip) override {
        shown = true;
        this->tip = tip;
        ++adds;
    }
    void remove() override {
        shown = false;
        ++removes;
    }
    void popUp(QMenu* menu) override { poppedUp = menu; }
    bool available = true;
    bool shown = false;
    QString tip;
    int adds = 0;
    int removes = 0;
    QMenu* poppedUp = nullptr;
};

struct FakePlatform {
    FakeProcessStarter process;
    FakeFileSystem files;
    FakeUserInfo user;
    FakeClock clock;
    FakeEventPump events{clock};
    FakeAutomationFactory automation;
    FakeHttpClient http;
    FakeZipExtractor zip;
    FakeSignatureVerifier signatures;
    FakeProgramEnd programEnd;
    ScriptedMessageBox messages;
    FakeWindowSystem windows;
    FakeTrayIcon tray;

    Platform platform() { return platform(messages); }
    // The fakes with other message boxes, such as the real ones.
    Platform platform(MessageBox& shownMessages) {
        automation.clock = &clock;
        return Platform{.process = process,
                        .files = files,
                        .user = user,
                        .clock = clock,
                        .events = events,
                        .automation = automation,
                        .http = http,
                        .zip = zip,
                        .signatures = signatures,
                        .programEnd = programEnd,
                        .messages = shownMessages,
                        .windows = windows,
                        .tray = tray};
    }
};

}  // namespace velandri
