#include "fakes/stub_programs.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace velandri {

namespace {

void writeFile(const QString& path, const QByteArray& text, QFile::Permissions permissions) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(text);
    file.close();
    file.setPermissions(permissions);
}

}  // namespace

StubPrograms::StubPrograms() : oldPath_(qgetenv("PATH")), oldHome_(qgetenv("HOME")) {
    QDir root(root_.path());
    root.mkpath(QStringLiteral("bin"));
    root.mkpath(QStringLiteral("home/.local/bin"));
    root.mkpath(QStringLiteral("logs"));
    // The stubs themselves need only /bin/sh; mv is called by its full path.
    qputenv("PATH", binFolder().toLocal8Bit());
    qputenv("HOME", home().toLocal8Bit());
}

StubPrograms::~StubPrograms() {
    qputenv("PATH", oldPath_);
    qputenv("HOME", oldHome_);
}

void StubPrograms::install(const QString& name) { installIn(binFolder(), name); }

void StubPrograms::installPerUser(const QString& name) {
    installIn(home() + QStringLiteral("/.local/bin"), name, QStringLiteral("per-user-") + name);
}

void StubPrograms::installIn(const QString& folder, const QString& name, const QString& logName) {
    const QByteArray log = logPath(logName.isEmpty() ? name : logName).toLocal8Bit();
    const QByteArray script = "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + log + ".tmp'\n" +
                              "exec /bin/mv '" + log + ".tmp' '" + log + "'\n";
    writeFile(folder + u'/' + name, script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void StubPrograms::installNotExecutable(const QString& name) {
    writeFile(binFolder() + u'/' + name, "#!/bin/sh\n", QFile::ReadOwner | QFile::WriteOwner);
}

void StubPrograms::installScript(const QString& name, const QByteArray& body) {
    writeFile(binFolder() + u'/' + name, "#!/bin/sh\n" + body,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QStringList StubPrograms::takeArguments(const QString& logName) {
    const QDeadlineTimer deadline(10000);
    while (!ran(logName) && !deadline.hasExpired()) QThread::msleep(10);
    QFile log(logPath(logName));
    if (!log.open(QIODevice::ReadOnly)) return {};
    QString text = QString::fromLocal8Bit(log.readAll());
    log.remove();
    text.chop(1);  // the newline after the last argument
    return text.split(u'\n');
}

bool StubPrograms::ran(const QString& logName) const { return QFile::exists(logPath(logName)); }

QString StubPrograms::home() const { return root_.filePath(QStringLiteral("home")); }

QString StubPrograms::binFolder() const { return root_.filePath(QStringLiteral("bin")); }

QString StubPrograms::logPath(const QString& logName) const {
    return root_.filePath(QStringLiteral("logs/") + logName + QStringLiteral(".args"));
}

}  // namespace velandri
