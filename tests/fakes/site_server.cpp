#include "fakes/site_server.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <chrono>
#include <stdexcept>

namespace velandri {

TestSite::TestSite() {
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        answer(request, response);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("no free port for the test site");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() does nothing to a server that is not running yet, so wait for it.
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestSite::~TestSite() {
    server_.stop();
    thread_.join();
}

void TestSite::put(const std::string& path, Page page) {
    const std::lock_guard lock(mutex_);
    pages_[path] = std::move(page);
}

QString TestSite::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1/").arg(port_); }

int TestSite::requestsFor(const std::string& path) {
    const std::lock_guard lock(mutex_);
    return requests_[path];
}

void TestSite::answer(const httplib::Request& request, httplib::Response& response) {
    const std::lock_guard lock(mutex_);
    ++requests_[request.path];
    const auto found = pages_.find(request.path);
    if (found == pages_.end()) {
        response.status = 404;
        response.set_content("<html>Not Found</html>", "text/html");
        return;
    }
    const Page page = found->second;
    if (!page.redirect.empty()) {
        response.set_redirect(page.redirect);
        response.set_header("Content-Type", page.contentType);
        return;
    }
    response.status = page.status;
    if (!page.chunked) {
        response.set_content(page.body.toStdString(), page.contentType.c_str());
        return;
    }
    response.set_chunked_content_provider(
        page.contentType, [page](size_t offset, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(page.pieceDelayMs));
            // Holds the connection open without sending; the server's stop ends the wait.
            if (page.stallAfter >= 0 && offset >= size_t(page.stallAfter)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                return true;
            }
            const size_t piece = std::min<size_t>(512, size_t(page.body.size()) - offset);
            if (piece > 0) sink.write(page.body.constData() + offset, piece);
            if (offset + piece == size_t(page.body.size())) sink.done();
            return true;
        });
}

namespace {

int listeningSocket(int* port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(fd, 4) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length))
        throw std::runtime_error("no local socket for the test");
    *port = ntohs(address.sin_port);
    return fd;
}

la_ssize_t appendToBuffer(archive*, void* buffer, const void* data, size_t size) {
    static_cast<QByteArray*>(buffer)->append(static_cast<const char*>(data), qsizetype(size));
    return la_ssize_t(size);
}

}  // namespace

SilentPort::SilentPort() { socket_ = listeningSocket(&port_); }
SilentPort::~SilentPort() { close(socket_); }

bool SilentPort::wasContacted() const {
    pollfd waiting{socket_, POLLIN, 0};
    return poll(&waiting, 1, 0) == 1;
}

int closedPort() {
    int port = 0;
    close(listeningSocket(&port));
    return port;
}

QByteArray makeZip(const std::vector<ZipItem>& items) {
    QByteArray zip;
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_open(writer, &zip, nullptr, appendToBuffer, nullptr);
    for (const ZipItem& item : items) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, item.name.c_str());
        if (item.linkTarget.empty()) {
            archive_entry_set_filetype(entry, AE_IFREG);
            archive_entry_set_size(entry, item.content.size());
        } else {
            archive_entry_set_filetype(entry, AE_IFLNK);
            archive_entry_set_symlink(entry, item.linkTarget.c_str());
        }
        archive_entry_set_perm(entry, item.mode);
        archive_write_header(writer, entry);
        archive_write_data(writer, item.content.constData(), size_t(item.content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return zip;
}

namespace {

quint32 readLittle(const QByteArray& bytes, qsizetype at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | quint8(bytes[at + i]);
    return value;
}

void writeLittle(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
}

// Calls change(zip, offset) with the offset of each entry's record in the central directory.
template <typename Change>
QByteArray changeDirectory(QByteArray zip, Change change) {
    // The writer pads its last block with zeros after the end record.
    const qsizetype end = zip.lastIndexOf("PK\5\6");
    if (end < 0) throw std::runtime_error("no end record of a zip archive");
    const quint32 entries = readLittle(zip, end + 10, 2);
    qsizetype header = readLittle(zip, end + 16, 4);
    for (quint32 i = 0; i < entries; ++i) {
        if (!zip.mid(header).startsWith("PK\1\2")) throw std::runtime_error("bad zip directory");
        change(zip, header);
        header += 46 + readLittle(zip, header + 28, 2) + readLittle(zip, header + 30, 2) +
                  readLittle(zip, header + 32, 2);
    }
    return zip;
}

}  // namespace

QByteArray asMadeOnWindows(QByteArray zip) {
    return changeDirectory(std::move(zip), [](QByteArray& bytes, qsizetype header) {
        bytes[header + 5] = 0;  // made by MS-DOS
        const char archiveAttribute[4] = {0x20, 0, 0, 0};
        bytes.replace(header + 38, 4, archiveAttribute, 4);
    });
}

QByteArray claimingSize(QByteArray zip, quint32 size) {
    return changeDirectory(std::move(zip), [size](QByteArray& bytes, qsizetype header) {
        writeLittle(bytes, header + 24, size);
        const qsizetype local = readLittle(bytes, header + 42, 4);
        writeLittle(bytes, local + 22, size);
    });
}

std::vector<std::string> zipEntryNames(const QByteArray& zip) {
    std::vector<std::string> names;
    archive* reader = archive_read_new();
    archive_read_support_format_zip(reader);
    archive_read_open_memory(reader, zip.constData(), size_t(zip.size()));
    archive_entry* entry = nullptr;
    while (archive_read_next_header(reader, &entry) == ARCHIVE_OK)
        names.emplace_back(archive_entry_pathname(entry));
    archive_read_free(reader);
    return names;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString& folder) {
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) found << it.next();
    return found;
}

}  // namespace velandri
