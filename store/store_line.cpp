#include "store/store_line.h"

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "store/codec.h"
#include "store/cp932.h"
#include "store/random_source.h"
#include "store/text.h"

namespace {

constexpr int kCodeModulus = 0x10000;
constexpr int kMaxLogoffMinutes = 60;
constexpr QChar kFill = u'\u3000';
constexpr int kSettingsField = 1;  // topMost, then minimizeOnLaunch, logoffMinutes, browser
constexpr int kTabNamesField = 5;
constexpr int kEntriesField = 15;

void appendCode(QString& out, int code) {
    char digits[8];
    int length = 0;
    const bool negative = code < 0;
    unsigned magnitude = negative ? -code : code;
    do {
        digits[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) out.append(u'-');
    while (length > 0) out.append(QChar::fromLatin1(digits[--length]));
    out.append(kCodeEnd);
}

void appendField(QString& out, const QString& text) {
    const QString trimmed = trim(text);
    if (trimmed.isEmpty()) out.append(kCodeEnd);
    for (QChar c : trimmed) appendCode(out, cp932Code(c));
    out.append(kFieldEnd);
}

void appendSetting(QString& out, int16_t value) { appendField(out, QString::number(value)); }

// The digit text D of the reader: a code being read, kept as its value modulo 65536.
class CodeDigits {
public:
    bool isEmpty() const { return length_ == 0; }
    void add(QChar symbol) {
        if (symbol == u'-') {
            wellFormed_ = wellFormed_ && length_ == 0;
            negative_ = true;
        } else {
            value_ = (value_ * 10 + (symbol.unicode() - u'0')) % kCodeModulus;
            hasDigits_ = true;
        }
        ++length_;
    }
    // The character of the code; "?" when the digits form no whole number.
    QChar character() const {
        if (!wellFormed_ || !hasDigits_) return u'?';
        const int code = negative_ ? (kCodeModulus - value_) % kCodeModulus : value_;
        return cp932Character(static_cast<uint16_t>(code));
    }
    void clear() { *this = CodeDigits(); }

private:
    int value_ = 0;
    qsizetype length_ = 0;
    bool negative_ = false;
    bool hasDigits_ = false;
    bool wellFormed_ = true;
};

// The value the reader sees: the first line up to its first comma, leading spaces skipped.
QByteArrayView firstValue(QByteArrayView content) {
    qsizetype begin = 0;
    while (begin < content.size() && content[begin] == ' ') ++begin;
    qsizetype end = begin;
    while (end < content.size() && content[end] != ',' && content[end] != '\r' &&
           content[end] != '\n')
        ++end;
    return content.sliced(begin, end - begin);
}

struct FieldList {
    std::vector<QString> fields;
    int count = 0;
};

FieldList readFields(QByteArrayView value) {
    FieldList list;
    list.fields.reserve(kReadableFieldCount);
    QString field;
    CodeDigits digits;
    for (qsizetype i = kPrefixLength; i < value.size(); ++i) {
        const QChar symbol = decodeSymbol(value[i]);
        if (symbol.isNull()) continue;
        if (symbol == kFieldEnd) {
            if (list.count < kReadableFieldCount) list.fields.push_back(field);
            ++list.count;
            field.clear();
        } else if (symbol == kCodeEnd) {
            if (digits.isEmpty())
                field.clear();
            else
                field.append(digits.character());
            digits.clear();
        } else {
            digits.add(symbol);
        }
    }
    list.fields.resize(kReadableFieldCount);
    return list;
}

std::optional<int16_t> wholeNumber(const QString& text) {
    bool ok = false;
    const short value = text.toShort(&ok, 10);
    return ok ? std::optional<int16_t>(value) : std::nullopt;
}

// Assigns the four settings; false when one of them is not a whole 16-bit number (it is 0).
bool assignSettings(const std::vector<QString>& fields, UrlStore& store) {
    int16_t* settings[] = {&store.topMost, &store.minimizeOnLaunch, &store.logoffMinutes,
                           &store.browser};
    bool whole = true;
    for (int i = 0; i < 4; ++i) {
        const std::optional<int16_t> value = wholeNumber(fields[kSettingsField + i]);
        *settings[i] = value.value_or(0);
        whole = whole && value.has_value();
    }
    return whole;
}

void assignTexts(const std::vector<QString>& fields, UrlStore& store) {
    store.password = fields[0];
    for (int i = 0; i < kTabCount; ++i) store.tabNames[i] = fields[kTabNamesField + i];
    int k = kEntriesField;
    for (auto& tab : store.entries)
        for (UrlEntry& entry : tab)
            for (QString& text : entry) text = fields[k++];
}

QString damageOf(const FieldList& list, bool settingsWhole) {
    if (list.count < kStoredFieldCount)
        return QStringLiteral("データファイルの項目が足りません（%1 / %2 項目）")
            .arg(list.count)
            .arg(kStoredFieldCount);
    if (list.count > kReadableFieldCount)
        return QStringLiteral("データファイルの項目が多すぎます（%1 項目）").arg(list.count);
    if (!settingsWhole) return QStringLiteral("データファイルの設定値が整数ではありません");
    return {};
}

void fillToWidth(QString& text) {
    if (text.size() < kTextBoxLimit) text.append(QString(kTextBoxLimit - text.size(), kFill));
}

}  // namespace

QString plainField(const QString& text) {
    QString out;
    appendField(out, text);
    return out;
}

QString plainText(const UrlStore& store, const QString& prefix) {
    QString out = prefix;
    out.reserve(prefix.size() + 4 * kStoredFieldCount);
    appendField(out, store.password);
    for (int16_t setting :
         {store.topMost, store.minimizeOnLaunch, store.logoffMinutes, store.browser})
        appendSetting(out, setting);
    for (const QString& name : store.tabNames) appendField(out, name);
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            for (const QString& text : entry) appendField(out, text);
    return out;
}

QString randomPrefix() {
    std::uniform_int_distribution<int> digit(0, 9);
    QString prefix(kPrefixLength, u'0');
    for (QChar& c : prefix) c = QChar(u'0' + digit(randomGenerator()));
    return prefix;
}

QByteArray scramble(const QString& plain) {
    QByteArray out;
    out.reserve(plain.size());
    for (QChar symbol : plain)
        if (const char c = encodeSymbol(symbol); c != 0) out.append(c);
    return out;
}

QString unscramble(QByteArrayView scrambled) {
    QString out;
    out.reserve(scrambled.size());
    for (char c : scrambled)
        if (const QChar symbol = decodeSymbol(c); !symbol.isNull()) out.append(symbol);
    return out;
}

void renumber(UrlStore& store) {
    for (auto& tab : store.entries)
        for (int slot = 0; slot < kSlotCount; ++slot)
            tab[slot][UrlField::number] = QString::number(slot + 1);
}

QByteArray encodeLine(UrlStore& store) {
    renumber(store);
    return scramble(plainText(store, randomPrefix()));
}

LineReadout parseLine(QByteArrayView content, UrlStore& store) {
    const FieldList list = readFields(firstValue(content));
    store = UrlStore();
    const bool settingsWhole = assignSettings(list.fields, store);
    assignTexts(list.fields, store);
    completeStore(store);
    return {list.count, damageOf(list, settingsWhole)};
}

void completeStore(UrlStore& store) {
    store.logoffMinutes =
        std::clamp<int16_t>(store.logoffMinutes, 0, static_cast<int16_t>(kMaxLogoffMinutes));
    for (auto& tab : store.entries) {
        std::stable_partition(tab.begin(), tab.end(),
                              [](const UrlEntry& entry) { return !isBlank(entry[UrlField::url]); });
        for (UrlEntry& entry : tab) {
            fillToWidth(entry[UrlField::title]);
            fillToWidth(entry[UrlField::content]);
        }
    }
    renumber(store);
}
