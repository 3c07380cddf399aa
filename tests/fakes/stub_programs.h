#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace velandri {

// Shell scripts named like the browsers in a temporary PATH and HOME. Each writes the arguments
// it received, one per line, to a log that the test reads back. The previous PATH and HOME come
// back when the object goes.
class StubPrograms {
public:
    StubPrograms();
    ~StubPrograms();
    StubPrograms(const StubPrograms&) = delete;
    StubPrograms& operator=(const StubPrograms&) = delete;

    // A stub in the temporary PATH.
    void install(const QString& name);
    // A stub at home() + "/.local/bin/", where a per-user installation lives; its log is
    // named "per-user-" + name.
    void installPerUser(const QString& name);
    // A stub in any folder, for programs that are started by path; logName defaults to name.
    void installIn(const QString& folder, const QString& name, const QString& logName = {});
    // A file of that name in the temporary PATH that cannot be executed.
    void installNotExecutable(const QString& name);
    // A shell script of that name and body (after "#!/bin/sh") in the temporary PATH.
    void installScript(const QString& name, const QByteArray& body);

    // The arguments the stub with that log name received at its last start, waiting up to 10 s for
    // it to run; the log is taken away so that the next start writes a fresh one. Empty when it
    // never ran.
    QStringList takeArguments(const QString& logName);
    bool ran(const QString& logName) const;

    QString home() const;
    QString binFolder() const;

private:
    QString logPath(const QString& logName) const;

    QTemporaryDir root_;
    QByteArray oldPath_;
    QByteArray oldHome_;
};

}  // namespace velandri
