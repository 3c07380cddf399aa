// velandri-store: reads and writes Velandri data files from the command line.

#include <QFile>
#include <QJsonDocument>
#include <QString>
#include <cstdio>

#include "store/codec.h"
#include "store/store_file.h"
#include "store/store_line.h"
#include "tools/store_json.h"

namespace {

enum ExitStatus { kOk = 0, kBadInput = 1, kIoFailure = 2 };

const char kUsage[] =
    "usage: velandri-store COMMAND FILE\n"
    "\n"
    "  dump FILE    load FILE as the program loads its data file and print the whole store\n"
    "               as one JSON object (UTF-8)\n"
    "  plain FILE   print the decoded first line of FILE (the plain text with its prefix)\n"
    "  write FILE   read such a JSON object from standard input and write FILE as the program\n"
    "               saves its data file; FILE is left untouched when the input is refused\n"
    "  --help       print this text\n"
    "\n"
    "exit status: 0 done, 1 bad arguments or input, 2 a file could not be read or written\n";

void warn(const QString& message) {
    std::fprintf(stderr, "velandri-store: %s\n", qUtf8Printable(message));
}

int complain(ExitStatus status, const QString& message) {
    warn(message);
    return status;
}

bool printBytes(const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, bytes.size(), stdout) ==
               static_cast<size_t>(bytes.size()) &&
           std::fflush(stdout) == 0;
}

int dump(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return complain(kIoFailure, QStringLiteral("%1: %2").arg(path, file.errorString()));
    file.close();
    UrlStore store;
    const LoadOutcome outcome = loadStoreFile(path, store);
    if (outcome.damaged) warn(QStringLiteral("warning: %1: %2").arg(path, outcome.reason));
    if (!printBytes(QJsonDocument(storeToJson(store)).toJson(QJsonDocument::Indented)))
        return complain(kIoFailure, QStringLiteral("cannot write to standard output"));
    return kOk;
}

int plain(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return complain(kIoFailure, QStringLiteral("%1: %2").arg(path, file.errorString()));
    QByteArray line = file.readLine();
    const qsizetype end = line.indexOf('\r');
    if (end >= 0) line.truncate(end);
    if (line.endsWith('\n')) line.chop(1);
    if (!printBytes(decodeSymbols(line).toUtf8() + '\n'))
        return complain(kIoFailure, QStringLiteral("cannot write to standard output"));
    return kOk;
}

int write(const QString& path) {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return complain(kIoFailure, QStringLiteral("cannot read standard input"));
    UrlStore store;
    QString error;
    if (!storeFromJson(input.readAll(), store, error)) return complain(kBadInput, error);
    const SaveOutcome outcome = writeStoreFile(path, store);
    if (!outcome.ok) return complain(kIoFailure, outcome.reason);
    return kOk;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && QByteArray(argv[1]) == "--help") {
        std::fputs(kUsage, stdout);
        return kOk;
    }
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const QByteArray command = argv[1];
    const QString path = QFile::decodeName(argv[2]);
    if (command == "dump") return dump(path);
    if (command == "plain") return plain(path);
    if (command == "write") return write(path);
    std::fputs(kUsage, stderr);
    return kBadInput;
}
