#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <QByteArrayView>
#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "tools/bookmark_html.h"

namespace velandri {

namespace {

// Blanks a text may carry around it in the markup; the ideographic space is the store's.
bool isEdgeBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' || c == u'\u3000';
}

bool isBreak(QChar c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// libxml2 ends a text at a NUL and leaves out what follows it, links included, so the feed
// gives a NUL as DEL, one byte in every encoding a bookmark file may declare.
constexpr char kNul = '\0';
constexpr char kNulStandIn = '\x7f';

// Decoded text as a user saw it in the browser: a line break or tab of the markup, with the
// blanks around it, becomes one space; runs of plain spaces stay as they are. A NUL (as DEL)
// stands for no character: it becomes U+FFFD, as bytes that are not UTF-8 do.
QString cleanText(const QByteArray& utf8) {
    QString text = QString::fromUtf8(utf8);
    text.replace(QChar(kNulStandIn), QChar::ReplacementCharacter);
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        bool hasBreak = false;
        while (end < text.size() && (text[end] == u' ' || isBreak(text[end])))
            hasBreak = isBreak(text[end++]) || hasBreak;
        if (hasBreak) {
            clean += u' ';
            i = end;
        } else {
            clean += text[i++];
        }
    }
    qsizetype begin = 0;
    qsizetype end = clean.size();
    while (begin < end && isEdgeBlank(clean[begin])) ++begin;
    while (end > begin && isEdgeBlank(clean[end - 1])) --end;
    return clean.sliced(begin, end - begin);
}

int attributeCount(const xmlChar** attributes) {
    int count = 0;
    while (attributes != nullptr && attributes[2 * count] != nullptr) ++count;
    return count;
}

QByteArray attribute(const xmlChar** attributes, const char* name) {
    for (int i = 0; attributes != nullptr && attributes[i] != nullptr; i += 2)
        if (QByteArrayView(reinterpret_cast<const char*>(attributes[i])) == name)
            return attributes[i + 1] ? QByteArray(reinterpret_cast<const char*>(attributes[i + 1]))
                                     : QByteArray();
    return {};
}

// Follows the parser's element events. Each <DL> opens a folder named by the <H3> before it;
// a <DL> without one continues the folder around it, and the outermost stands for the <H1>.
// A link is complete at the next structural element, or with the <DD> that follows it.
class BookmarkReader {
public:
    explicit BookmarkReader(const BookmarkVisitor& visit) : visit_(visit) {}

    void start(QByteArrayView name, const xmlChar** attributes) {
        if (stopped()) return;
        if (++depth_ > kDeepestNesting) {
            stop_ = HtmlReadout::Stop::TooDeep;
            return;
        }
        if (attributeCount(attributes) > kMostAttributes) {
            stop_ = HtmlReadout::Stop::TooManyAttributes;
            return;
        }
        if (name == "dd") {
            startDescription();
        } else if (name == "a") {
            startLink(attribute(attributes, "href"));
        } else if (name == "dl") {
            finishLink();
            openFolder();
        } else if (name == "h1" || name == "h3") {
            finishLink();
            capture_ = name == "h1" ? Capture::Heading : Capture::FolderName;
        } else if (name == "dt") {
            finishLink();
        }
    }

    void end(QByteArrayView name) {
        if (stopped()) return;
        --depth_;
        if (name == "dl") {
            finishLink();
            if (!folders_.empty()) folders_.pop_back();
        } else if (name == "dd") {
            finishLink();
        } else if (name == "a" || name == "h1" || name == "h3") {
            endCapture();
        }
    }

    void characters(const xmlChar* text, int length) {
        if (capture_ != Capture::None) text_.append(reinterpret_cast<const char*>(text), length);
    }

    void error() { charge(kErrorCost + depth_); }

    // Before libxml2 reads the next piece of the file. Its table of an element's attributes has
    // room for the largest element so far, and each attribute of the piece is compared with up
    // to that many: a piece costs its size times the room beyond what browsers' files need. An
    // element still being read may hold any number of attributes, so a room far beyond the
    // bound stops the reading before the element ends.
    void beforePiece(qsizetype size, int attributeRoom) {
        if (attributeRoom > 2 * kMostAttributes && !stopped())
            stop_ = HtmlReadout::Stop::TooManyAttributes;
        charge(size * std::max(0, attributeRoom - kFreeAttributeRoom));
    }

    bool stopped() const { return stop_ != HtmlReadout::Stop::None; }

    HtmlReadout finish() {
        if (!stopped()) finishLink();
        return {linkCount_, stop_};
    }

private:
    enum class Capture { None, Heading, FolderName, Title, Description };

    // Elements of up to this many attributes cost nothing beyond their reading.
    static constexpr int kFreeAttributeRoom = 32;

    void charge(qint64 cost) {
        errorCost_ += cost;
        if (errorCost_ > kErrorBudget && !stopped()) stop_ = HtmlReadout::Stop::TooBroken;
    }

    // nullopt: outside every folder, the heading's.
    std::optional<QString> currentFolder() const {
        return folders_.empty() ? std::nullopt : folders_.back();
    }

    void openFolder() {
        folders_.push_back(pendingFolder_ ? pendingFolder_ : currentFolder());
        if (pendingFolder_ && visit_.folder) visit_.folder(*pendingFolder_);
        pendingFolder_.reset();
    }

    void startLink(const QByteArray& href) {
        finishLink();
        ++linkCount_;
        pendingFolder_.reset();  // a folder heading followed by a link has no list of its own
        link_ = HtmlBookmark{currentFolder().value_or(heading_), cleanText(href), {}, {}};
        capture_ = Capture::Title;
    }

    void startDescription() {
        if (link_ && capture_ == Capture::None) capture_ = Capture::Description;
    }

    void endCapture() {
        const QString text = cleanText(text_);
        switch (capture_) {
            case Capture::Heading:
                heading_ = text;
                break;
            case Capture::FolderName:
                pendingFolder_ = text;
                break;
            case Capture::Title:
                link_->title = text;
                break;
            case Capture::Description:
                link_->content = text;
                break;
            case Capture::None:
                break;
        }
        capture_ = Capture::None;
        text_.clear();
    }

    void finishLink() {
        endCapture();
        if (!link_) return;
        if (visit_.bookmark) visit_.bookmark(*link_);
        link_.reset();
    }

    const BookmarkVisitor& visit_;
    std::vector<std::optional<QString>> folders_;  // one per open <DL>
    std::optional<QString> pendingFolder_;         // an <H3> waiting for its <DL>
    QString heading_;
    std::optional<HtmlBookmark> link_;
    Capture capture_ = Capture::None;
    QByteArray text_;
    qsizetype linkCount_ = 0;
    int depth_ = 0;
    qint64 errorCost_ = 0;
    HtmlReadout::Stop stop_ = HtmlReadout::Stop::None;
};

// The file handed to libxml2 piece by piece, each piece charged before it is read.
struct HtmlFeed {
    QByteArrayView html;
    BookmarkReader& reader;
    htmlParserCtxtPtr context = nullptr;
    qsizetype offset = 0;
};

// An end of input once the reading has stopped: libxml2 cannot be halted inside its reading.
int readPiece(void* feedPointer, char* buffer, int length) {
    HtmlFeed& feed = *static_cast<HtmlFeed*>(feedPointer);
    const qsizetype size = std::min<qsizetype>(length, feed.html.size() - feed.offset);
    feed.reader.beforePiece(size, feed.context->maxatts / 2);
    if (feed.reader.stopped() || size <= 0) return 0;
    std::replace_copy(feed.html.data() + feed.offset, feed.html.data() + feed.offset + size, buffer,
                      kNul, kNulStandIn);
    feed.offset += size;
    return int(size);
}

// A parser that reads the feed. Null when libxml2 is out of memory.
htmlParserCtxtPtr feedParser(HtmlFeed& feed) {
    htmlParserCtxtPtr context = htmlNewParserCtxt();
    if (context == nullptr) return nullptr;
    feed.context = context;
    xmlParserInputBufferPtr buffer =
        xmlParserInputBufferCreateIO(readPiece, nullptr, &feed, XML_CHAR_ENCODING_NONE);
    xmlParserInputPtr input =
        buffer ? xmlNewIOInputStream(context, buffer, XML_CHAR_ENCODING_NONE) : nullptr;
    if (input == nullptr && buffer != nullptr) xmlFreeParserInputBuffer(buffer);
    // inputPush frees the input when it fails.
    if (input == nullptr || inputPush(context, input) < 0) {
        htmlFreeParserCtxt(context);
        return nullptr;
    }
    return context;
}

BookmarkReader& readerOf(void* context) {
    return *static_cast<BookmarkReader*>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

void stopWhenDone(void* context) {
    if (readerOf(context).stopped()) xmlStopParser(static_cast<htmlParserCtxtPtr>(context));
}

void onStart(void* context, const xmlChar* name, const xmlChar** attributes) {
    readerOf(context).start(reinterpret_cast<const char*>(name), attributes);
    stopWhenDone(context);
}

void onEnd(void* context, const xmlChar* name) {
    readerOf(context).end(reinterpret_cast<const char*>(name));
}

void onCharacters(void* context, const xmlChar* text, int length) {
    readerOf(context).characters(text, length);
}

// Also keeps libxml2 from printing on standard error: broken markup is expected.
void onError(void* context, xmlErrorPtr) {
    readerOf(context).error();
    stopWhenDone(context);
}

}  // namespace

HtmlReadout readBookmarkHtml(QByteArrayView html, const BookmarkVisitor& visit) {
    BookmarkReader reader(visit);
    if (html.isEmpty() || html.size() > std::numeric_limits<int>::max()) return {};
    HtmlFeed feed{html, reader};
    htmlParserCtxtPtr context = feedParser(feed);
    if (context == nullptr) return {};
    // Events only, no tree: memory stays with the nesting depth, not the document size.
    *context->sax = htmlSAXHandler{};
    context->sax->startElement = onStart;
    context->sax->endElement = onEnd;
    context->sax->characters = onCharacters;
    context->userData = context;
    context->_private = &reader;
    htmlCtxtUseOptions(context, HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                    HTML_PARSE_NOIMPLIED);
    // UTF-8, as browsers write it, unless the file declares another encoding.
    xmlSwitchEncoding(context, XML_CHAR_ENCODING_UTF8);
    xmlSetStructuredErrorFunc(context, onError);
    htmlParseDocument(context);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    htmlFreeParserCtxt(context);
    return reader.finish();
}

}  // namespace velandri
