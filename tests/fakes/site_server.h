#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velandri {

// A web site on 127.0.0.1 at a free port, serving whatever the test puts up.
class TestSite {
public:
    struct Page {
        QByteArray body;
        std::string contentType;
        bool chunked = false;       // sent without a length, in pieces
        std::string redirect = {};  // answered with a redirect to this path
        int pieceDelayMs = 0;       // a slow line: the wait before each piece
        qsizetype stallAfter = -1;  // a stalled line: nothing more after this many bytes
        int status = 200;
    };

    TestSite();
    ~TestSite();

    void put(const std::string& path, Page page);
    QString baseUrl() const;  // ends with a slash
    int requestsFor(const std::string& path);

private:
    void answer(const httplib::Request& request, httplib::Response& response);

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::map<std::string, Page> pages_;
    std::map<std::string, int> requests_;
};

// A port on 127.0.0.1 that accepts connections and never answers them.
class SilentPort {
public:
    SilentPort();
    ~SilentPort();
    int port() const { return port_; }
    // Whether a connection has arrived (and was left unanswered).
    bool wasContacted() const;

private:
    int socket_ = -1;
    int port_ = 0;
};

// A port on 127.0.0.1 that refuses connections.
int closedPort();

struct ZipItem {
    std::string name;
    QByteArray content;
    int mode = 0644;
    std::string linkTarget;  // a symbolic link when not empty
};

inline ZipItem fileItem(std::string name, QByteArray content, int mode = 0644) {
    return ZipItem{std::move(name), std::move(content), mode, {}};
}
inline ZipItem linkItem(std::string name, std::string target) {
    return ZipItem{std::move(name), {}, 0777, std::move(target)};
}

// A zip archive built with libarchive's writer, and the entry names read back from one.
QByteArray makeZip(const std::vector<ZipItem>& items);
// The same archive as a Windows tool writes it: every entry made by MS-DOS, with only the
// archive attribute and no Unix permission bits.
QByteArray asMadeOnWindows(QByteArray zip);
std::vector<std::string> zipEntryNames(const QByteArray& zip);
// The same archive with every entry claiming to hold size bytes, whatever it inflates to.
QByteArray claimingSize(QByteArray zip, quint32 size);

// A file's bytes, empty when it cannot be read; bytes written to a new file, failing the test
// when they cannot be.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
// Every entry below folder, hidden ones included, links not followed.
QStringList filesIn(const QString& folder);

}  // namespace velandri
