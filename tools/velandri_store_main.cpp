// velandri-store: reads and writes Velandri data files from the command line.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QString>
#include <cstdio>

#include "platform/running_copy.h"
#include "store/codec.h"
#include "store/data_file.h"
#include "store/store_file.h"
#include "store/store_line.h"
#include "tools/bookmark_html.h"
#include "tools/bookmark_import.h"
#include "tools/store_json.h"

using namespace velandri;

namespace {

enum ExitStatus { kOk = 0, kBadInput = 1, kIoFailure = 2, kNotAllImported = 3 };

// A browser's bookmark file is far smaller; the bound keeps a hostile file quick to refuse.
constexpr qint64 kLargestHtml = 32 * 1024 * 1024;
// The JSON of any store a data file can hold is smaller: a character the file stores in two or
// more symbols takes at most six bytes of JSON ("\u3042"), and the layout adds some kilobytes.
constexpr qint64 kLargestJson = 4 * kMaxDataFileSize;

const char kUsage[] =
    "usage: velandri-store COMMAND FILE\n"
    "       velandri-store import-html HTML FILE\n"
    "\n"
    "  dump FILE         load FILE as the program loads its data file and print the whole\n"
    "                    store as one JSON object (UTF-8)\n"
    "  plain FILE        print the decoded first line of FILE (the plain text with its prefix);\n"
    "                    a FILE larger than 16 MiB, which the program does not read, is refused\n"
    "  write FILE        read such a JSON object from standard input and write FILE as the\n"
    "                    program saves its data file; FILE is left untouched when the input\n"
    "                    is refused, also when FILE would be larger than 16 MiB\n"
    "  export-html FILE  print FILE's bookmarks as a browser bookmark file (Netscape format,\n"
    "                    UTF-8): one folder per tab that has a name or entries\n"
    "  import-html HTML FILE\n"
    "                    add the bookmarks of a browser's exported bookmark file HTML to FILE\n"
    "                    (a missing FILE starts empty). Each folder goes to the tab of its name,\n"
    "                    else to the first unnamed empty tab; links outside every folder count\n"
    "                    as a folder named after the file's heading. An address the tab already\n"
    "                    holds is skipped. What does not fit (a 31st entry, an 11th folder),\n"
    "                    is not a web address (only http and https are imported) or would\n"
    "                    reach the browser as options (an address with a blank or a control\n"
    "                    character, also once decoded, or one that begins with \"-\") is\n"
    "                    listed on standard error, and so is an address the file damaged\n"
    "                    with a NUL or bytes that are not UTF-8.\n"
    "                    A FILE named url is saved as the program saves its data file (previous\n"
    "                    copy kept as url.prev); another FILE is replaced as write replaces it.\n"
    "                    Refused while the program runs for FILE's folder: it would overwrite\n"
    "                    the import when it saves at exit. HTML without links, larger than\n"
    "                    32 MiB, too deeply nested, with elements of more than 100\n"
    "                    attributes, or too broken to read is refused whole\n"
    "  --help            print this text\n"
    "\n"
    "exit status: 0 done, 1 bad arguments or input, 2 a file could not be read or written,\n"
    "3 import-html wrote what fitted and listed the rest on standard error\n";

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

// What a command reads: a data file only as the program reads one, a regular file (or a link to
// one); a bookmark file also through a pipe.
enum class Readable { RegularFile, RegularFileOrPipe };

bool isReadable(const struct stat& status, Readable readable) {
    return S_ISREG(status.st_mode) ||
           (readable == Readable::RegularFileOrPipe && S_ISFIFO(status.st_mode));
}

// Opens the file for reading; kOk, or the exit status after its message. The opening never
// waits: a FIFO without a writer would hold it for ever. A pipe is then read as usual, and one
// without a writer is at its end at once.
int openToRead(const QString& path, QFile& file, Readable readable = Readable::RegularFile) {
    const int descriptor =
        open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return complain(kIoFailure, QStringLiteral("%1: %2").arg(path, qt_error_string(errno)));
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !isReadable(status, readable)) {
        close(descriptor);
        return complain(kIoFailure,
                        readable == Readable::RegularFile
                            ? QStringLiteral("%1 is not a regular file").arg(path)
                            : QStringLiteral("%1 is neither a regular file nor a pipe").arg(path));
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(descriptor);
        return complain(kIoFailure, QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    return kOk;
}

// Loads FILE for printing; a file that could not be read whole is printed as far as it goes.
int loadToPrint(const QString& path, UrlStore& store) {
    QFile file;
    if (const int status = openToRead(path, file); status != kOk) return status;
    file.close();
    if (const LoadedFile loaded = loadStoreFile(path, store); !loaded)
        warn(QStringLiteral("warning: ") + loaded.error().detail);
    return kOk;
}

int print(const QByteArray& bytes) {
    if (!printBytes(bytes))
        return complain(kIoFailure, QStringLiteral("cannot write to standard output"));
    return kOk;
}

int dump(const QString& path) {
    UrlStore store;
    if (const int status = loadToPrint(path, store); status != kOk) return status;
    return print(QJsonDocument(storeToJson(store)).toJson(QJsonDocument::Indented));
}

int exportHtml(const QString& path) {
    UrlStore store;
    if (const int status = loadToPrint(path, store); status != kOk) return status;
    return print(exportBookmarkHtml(store));
}

// Reads at most limit bytes; kOk, or the exit status after its message.
int readAtMost(QFile& file, qint64 limit, QByteArray& content) {
    content = readBounded(file, limit);
    if (file.error() != QFileDevice::NoError)
        return complain(kIoFailure,
                        QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
    if (content.size() > limit)
        return complain(kBadInput, QStringLiteral("%1 is larger than %2 MiB")
                                       .arg(file.fileName().isEmpty() ? QStringLiteral("the input")
                                                                      : file.fileName())
                                       .arg(limit >> 20));
    return kOk;
}

int plain(const QString& path) {
    QFile file;
    if (const int status = openToRead(path, file); status != kOk) return status;
    // The program reads no larger data file.
    QByteArray line;
    if (const int status = readAtMost(file, kMaxDataFileSize, line); status != kOk) return status;
    // The first line, without its ending.
    for (const char ending : {'\n', '\r'})
        if (const qsizetype end = line.indexOf(ending); end >= 0) line.truncate(end);
    if (!printBytes(decodeSymbols(line).toUtf8() + '\n'))
        return complain(kIoFailure, QStringLiteral("cannot write to standard output"));
    return kOk;
}

int write(const QString& path) {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return complain(kIoFailure, QStringLiteral("cannot read standard input"));
    QByteArray json;
    if (const int status = readAtMost(input, kLargestJson, json); status != kOk) return status;
    Result<UrlStore> store = storeFromJson(json);
    json.clear();
    if (!store) return complain(kBadInput, store.error().detail);
    const Result<QByteArray> content = storeFileContent(store.value());
    if (!content) return complain(kBadInput, content.error().detail);
    // A data file holds the password in a reversible form.
    const SaveOutcome outcome = writeFileContent(path, content.value(), FileAccess::ownerOnly);
    if (!outcome) return complain(kIoFailure, outcome.error().detail);
    return kOk;
}

int readHtml(const QString& path, QByteArray& html) {
    QFile file;
    if (const int status = openToRead(path, file, Readable::RegularFileOrPipe); status != kOk)
        return status;
    return readAtMost(file, kLargestHtml, html);
}

// The running program saves its whole store at exit, over anything written meanwhile. Without
// a private runtime folder the program runs unguarded and cannot be found.
bool programRunsFor(const QString& dataFolder) {
    const QString socketPath = runningCopySocketPath(dataFolder);
    if (socketPath.isEmpty()) return false;
    return runningCopyAnswers(socketPath);
}

// The file an import adds to. One named url is the program's data file and goes through the
// program's own save: previous copy kept as url.prev, a file that could not be read whole
// set aside. Another name is replaced as write replaces it, and refused when damaged.
class ImportTarget {
public:
    explicit ImportTarget(const QString& path)
        : path_(path),
          folder_(QFileInfo(path).absolutePath()),
          dataFile_(DataPaths{folder_, folder_}),
          isDataFile_(QFileInfo(path).fileName() == kDataFileName) {}

    const QString& folder() const { return folder_; }

    // kOk, or the exit status after its message.
    int load(UrlStore& store) {
        const QFileInfo info(path_);
        if (!info.exists()) {
            store = emptyStore();
            return kOk;
        }
        if (!info.isFile())
            return complain(kIoFailure, QStringLiteral("%1 is not a regular file").arg(path_));
        QFile file(path_);
        if (!file.open(QIODevice::ReadOnly))
            return complain(kIoFailure, QStringLiteral("%1: %2").arg(path_, file.errorString()));
        const LoadedFile loaded =
            isDataFile_ ? dataFile_.loadStore(store) : loadStoreFile(path_, store);
        if (loaded) return kOk;
        const QString& reason = loaded.error().detail;
        if (!isDataFile_)
            return complain(kBadInput, QStringLiteral("%1; nothing imported").arg(reason));
        warn(QStringLiteral("warning: %1; a copy is kept beside it").arg(reason));
        return kOk;
    }

    SaveOutcome save(UrlStore& store) {
        return isDataFile_ ? dataFile_.saveStore(store)
                           : writeStoreFile(path_, store, FileAccess::ownerOnly);
    }

private:
    QString path_;
    QString folder_;
    DataFile dataFile_;
    bool isDataFile_;
};

QString whyStopped(HtmlReadout::Stop stop) {
    if (stop == HtmlReadout::Stop::TooDeep)
        return QStringLiteral("elements nested deeper than %1").arg(kDeepestNesting);
    if (stop == HtmlReadout::Stop::TooManyAttributes)
        return QStringLiteral("an element with more than %1 attributes").arg(kMostAttributes);
    return QStringLiteral("too many markup errors to be a bookmark file");
}

int importHtml(const QString& htmlPath, const QString& path) {
    QByteArray html;
    if (const int status = readHtml(htmlPath, html); status != kOk) return status;
    ImportTarget target(path);
    UrlStore store;
    if (const int status = target.load(store); status != kOk) return status;

    const UrlStore before = store;
    const ImportSummary summary = importBookmarkHtml(html, store, warn);
    const HtmlReadout& readout = summary.readout;
    if (readout.stop != HtmlReadout::Stop::None)
        return complain(
            kBadInput,
            QStringLiteral("%1: %2; nothing imported").arg(htmlPath, whyStopped(readout.stop)));
    if (readout.linkCount == 0)
        return complain(kBadInput, QStringLiteral("%1 holds no bookmarks").arg(htmlPath));
    const int status = summary.allImported ? kOk : kNotAllImported;
    // Nothing to write: the file and its previous copy stay as they are.
    if (store.tabNames == before.tabNames && store.entries == before.entries) return status;
    if (programRunsFor(target.folder()))
        return complain(kIoFailure,
                        QStringLiteral("Velandri is running for %1 and would overwrite the import "
                                       "when it saves at exit; leave it through 終了, then import "
                                       "again. %2 was not changed")
                            .arg(target.folder(), path));
    if (const SaveOutcome saved = target.save(store); !saved)
        return complain(kIoFailure, saved.error().detail);
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && QByteArray(argv[1]) == "--help") {
        std::fputs(kUsage, stdout);
        return kOk;
    }
    const QByteArray command = argc > 1 ? argv[1] : "";
    if (argc == 4 && command == "import-html")
        return importHtml(QFile::decodeName(argv[2]), QFile::decodeName(argv[3]));
    if (argc != 3) {
        std::fputs(kUsage, stderr);
        return kBadInput;
    }
    const QString path = QFile::decodeName(argv[2]);
    if (command == "dump") return dump(path);
    if (command == "plain") return plain(path);
    if (command == "write") return write(path);
    if (command == "export-html") return exportHtml(path);
    std::fputs(kUsage, stderr);
    return kBadInput;
}
