#include "platform/linux/command_line.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <utility>

#include "platform/browsers.h"

namespace velandri {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

qsizetype skipBlanks(const QString& text, qsizetype from) {
    while (from < text.size() && isBlank(text[from])) ++from;
    return from;
}

// Where an unquoted program name ends: after the first ".exe" that a blank or the end follows,
// else at the first blank.
qsizetype unquotedProgramEnd(const QString& line, qsizetype start) {
    static const QRegularExpression exe(QStringLiteral("\\.exe(?=[ \\t]|$)"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = exe.match(line, start);
    if (match.hasMatch()) return match.capturedEnd();
    qsizetype end = start;
    while (end < line.size() && !isBlank(line[end])) ++end;
    return end;
}

// Appends the run of backslashes at text[i] and returns the index after what it consumed.
// Backslashes count as escapes only before a double quote: 2n of them give n and leave the
// quote to act, 2n + 1 give n and a literal quote.
qsizetype takeBackslashes(const QString& text, qsizetype i, QString& argument) {
    qsizetype end = i;
    while (end < text.size() && text[end] == u'\\') ++end;
    const qsizetype count = end - i;
    if (end == text.size() || text[end] != u'"') {
        argument += QString(count, u'\\');
        return end;
    }
    argument += QString(count / 2, u'\\');
    if (count % 2 == 0) return end;
    argument += u'"';
    return end + 1;
}

QStringList splitArguments(const QString& text, qsizetype from) {
    QStringList arguments;
    QString argument;
    bool inArgument = false;
    bool quoted = false;
    qsizetype i = from;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isBlank(c) && !quoted) {
            if (inArgument) arguments << std::exchange(argument, QString());
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            i = takeBackslashes(text, i, argument);
        } else if (c == u'"' && quoted && i + 1 < text.size() && text[i + 1] == u'"') {
            argument += u'"';  // a doubled quote inside quotes stands for itself
            i += 2;
        } else if (c == u'"') {
            quoted = !quoted;
            ++i;
        } else {
            argument += c;
            ++i;
        }
    }
    if (inArgument) arguments << argument;
    return arguments;
}

bool isWindowsPath(const QString& program) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return program.contains(u'\\') || drive.match(program).hasMatch();
}

bool sameProgram(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A designed path with the login name's place matches that path with any one folder name there.
bool matchesStandIn(const ProgramStandIn& standIn, const QString& program) {
    const QStringList around = standIn.designed.split(kUserNameMarker);
    if (around.size() == 1) return sameProgram(standIn.designed, program);
    const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(around.first()) +
                                            QStringLiteral(R"([^\\]+)") +
                                            QRegularExpression::escape(around.last())),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(program).hasMatch();
}

const ProgramStandIn* standInFor(const QString& program) {
    for (const ProgramStandIn& standIn : kOtherStandIns) {
        if (matchesStandIn(standIn, program)) return &standIn;
    }
    for (const Browser& browser : kBrowsers) {
        for (const ProgramStandIn& standIn : browser.programs) {
            if (matchesStandIn(standIn, program)) return &standIn;
        }
    }
    return nullptr;
}

QStringList inHomeFolder(QStringList candidates, const QString& homeFolder) {
    for (QString& candidate : candidates) {
        if (candidate.startsWith(u"~/")) candidate.replace(0, 1, homeFolder);
    }
    return candidates;
}

QString existingExecutable(const QString& path) {
    const QFileInfo file(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
    return file.isFile() && file.isExecutable() ? file.absoluteFilePath() : QString();
}

}  // namespace

DesignedCommand splitCommandLine(const QString& commandLine) {
    const qsizetype start = skipBlanks(commandLine, 0);
    if (start < commandLine.size() && commandLine[start] == u'"') {
        const qsizetype close = commandLine.indexOf(u'"', start + 1);
        if (close < 0) return {commandLine.mid(start + 1), {}};
        return {commandLine.mid(start + 1, close - start - 1),
                splitArguments(commandLine, close + 1)};
    }
    const qsizetype end = unquotedProgramEnd(commandLine, start);
    return {commandLine.mid(start, end - start), splitArguments(commandLine, end)};
}

QString quotedArgument(const QString& argument) {
    QString quoted(u'"');
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
        } else {
            if (c == u'"') quoted += QString(backslashes + 1, u'\\');
            backslashes = 0;
        }
        quoted += c;
    }
    return quoted + QString(backslashes, u'\\') + u'"';
}

QStringList linuxCandidates(const QString& designedProgram, const QString& homeFolder) {
    if (const ProgramStandIn* standIn = standInFor(designedProgram))
        return inHomeFolder(standIn->linuxCandidates, homeFolder);
    // Any other Windows path has no counterpart here; a plain name or a Linux path is used as is.
    if (designedProgram.isEmpty() || isWindowsPath(designedProgram)) return {};
    return {designedProgram};
}

QString locateProgram(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        const QString found = candidate.contains(u'/') ? existingExecutable(candidate)
                                                       : QStandardPaths::findExecutable(candidate);
        if (!found.isEmpty()) return found;
    }
    return {};
}

QString mapProgram(const QString& designedProgram) {
    return locateProgram(linuxCandidates(designedProgram, QDir::homePath()));
}

}  // namespace velandri
