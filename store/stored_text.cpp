#include "store/stored_text.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <algorithm>

#include "store/jis_fold.h"
#include "store/text.h"

namespace velandri {

namespace {

constexpr int16_t kQuestionMarkCode = 63;

// ASCII first: it has codes of its own, and addresses are mostly ASCII.
bool storable(QChar c) { return c.unicode() < 0x80 || storedCode(c) != kQuestionMarkCode; }

// The character (one or two UTF-16 units) that starts at index i.
QStringView characterAt(QStringView text, qsizetype i) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return text.sliced(i, pair ? 2 : 1);
}

QString percentEncoded(QStringView text) {
    QString encoded;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = characterAt(text, i);
        if (storable(character[0]))
            encoded += character;
        else
            encoded += QString::fromLatin1(character.toUtf8().toPercentEncoding());
        i += character.size();
    }
    return encoded;
}

// A label the file cannot keep goes into its ACE form; one that IDNA refuses (an emoji, say)
// is percent-encoded, which a reg-name allows.
QString storableLabel(const QString& label) {
    if (storesWhole(label)) return label;
    const QByteArray ace = QUrl::toAce(label);
    return ace.isEmpty() ? percentEncoded(label) : QString::fromLatin1(ace);
}

QString storableHost(const QString& host) {
    QStringList labels = host.split(u'.');
    std::transform(labels.begin(), labels.end(), labels.begin(), storableLabel);
    return labels.join(u'.');
}

// Where the host stands in a hierarchical address: after "scheme://" and any user
// information, before any port, path, query or fragment.
struct HostSpan {
    qsizetype start = 0;
    qsizetype length = 0;
};

HostSpan hostSpan(const QString& url) {
    static const QRegularExpression authority(
        QStringLiteral("^[A-Za-z][A-Za-z0-9+.\\-]*://(?:[^/?#@]*@)?([^/?#]*)"));
    static const QRegularExpression port(QStringLiteral(":[0-9]*$"));
    const QRegularExpressionMatch match = authority.match(url);
    if (!match.hasMatch()) return {};
    const QString hostAndPort = match.captured(1);
    const QRegularExpressionMatch portMatch = port.match(hostAndPort);
    const qsizetype hostLength =
        portMatch.hasMatch() ? portMatch.capturedStart() : hostAndPort.size();
    return {match.capturedStart(1), hostLength};
}

}  // namespace

bool storesWhole(QStringView text) { return std::all_of(text.begin(), text.end(), storable); }

QString unstorableCharacters(const QString& text) {
    QString found;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView character = characterAt(text, i);
        if (!storable(character[0]) && !found.contains(character)) found += character;
        i += character.size();
    }
    return found;
}

QString storableUrl(const QString& url) {
    if (storesWhole(url)) return url;
    // The file keeps fields trimmed; the scheme must start the text to be found.
    const QString trimmed = trim(url);
    const HostSpan host = hostSpan(trimmed);
    const QStringView text(trimmed);
    return percentEncoded(text.first(host.start)) +
           storableHost(trimmed.sliced(host.start, host.length)) +
           percentEncoded(text.sliced(host.start + host.length));
}

}  // namespace velandri
