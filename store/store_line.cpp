#include "store/store_line.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "store/codec.h"
#include "store/cp932.h"
#include "store/jis_fold.h"
#include "store/random_source.h"
#include "store/text.h"

namespace {

constexpr int kCodeModulus = 0x10000;
constexpr int kMaxLogoffMinutes = 60;
constexpr QChar kFill = u'\u3000';
constexpr int kSettingsField = 1;  // topMost, then minimizeOnLaunch, logoffMinutes, browser
constexpr int kTabNamesField = 5;
constexpr int kEntriesField = 15;

constexpr int kLongestCode = 7;     // "-32768空"
constexpr int kLongestSetting = 6;  // "-32768"

// Writes plain symbols into a text sized beforehand for the longest codes.
class PlainWriter {
public:
    explicit PlainWriter(qsizetype capacity) : text_(capacity, Qt::Uninitialized) {
        next_ = text_.data();
    }

    void field(QStringView text) {
        const QStringView trimmed = trimmedView(text);
        if (trimmed.isEmpty()) put(kCodeEnd);
        for (QChar c : trimmed) code(cp932Code(foldToCp932(c)));
        put(kFieldEnd);
    }

    void setting(int16_t value) { field(QString::number(value)); }

    void symbols(QStringView plain) {
        for (QChar c : plain) put(c);
    }

    QString finish() {
        text_.truncate(next_ - text_.data());
        return std::move(text_);
    }

    // Room for a field of the given length in the worst case.
    static qsizetype capacityFor(qsizetype length) { return kLongestCode * length + 2; }
    static qsizetype capacityFor(QStringView text) { return capacityFor(text.size()); }

private:
    void put(QChar c) { *next_++ = c; }

    void code(int value) {
        if (value < 0) put(u'-');
        unsigned rest = value < 0 ? -value : value;
        char16_t digits[5];
        int length = 0;
        do {
            digits[length++] = static_cast<char16_t>(u'0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        while (length > 0) put(QChar(digits[--length]));
        put(kCodeEnd);
    }

    QString text_;
    QChar* next_;
};

qsizetype plainCapacity(const UrlStore& store, qsizetype prefixLength) {
    qsizetype capacity = prefixLength + PlainWriter::capacityFor(store.password) +
                         4 * PlainWriter::capacityFor(kLongestSetting);
    for (const QString& name : store.tabNames) capacity += PlainWriter::capacityFor(name);
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            for (const QString& text : entry) capacity += PlainWriter::capacityFor(text);
    return capacity;
}

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
    qsizetype count = 0;
};

FieldList readFields(QByteArrayView value) {
    FieldList list;
    list.fields.reserve(kReadableFieldCount);
    QString field;
    CodeDigits digits;
    const QString symbols =
        decodeSymbols(value.sliced(std::min(value.size(), qsizetype(kPrefixLength))));
    for (QChar symbol : symbols) {
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

// A save writes kPrefixLength digits first; anything else there means the line has shifted (a
// stray byte before it) or was changed, and its first field may be misread.
bool prefixIsDigits(QByteArrayView value) {
    if (value.size() < kPrefixLength) return false;
    return std::all_of(value.begin(), value.begin() + kPrefixLength, [](char c) {
        const QChar symbol = decodeSymbol(c);
        return symbol >= u'0' && symbol <= u'9';
    });
}

QString damageOf(const FieldList& list, bool settingsWhole, bool prefixDigits) {
    if (list.count < kStoredFieldCount)
        return QStringLiteral("データファイルの項目が足りません（%1 / %2 項目）")
            .arg(list.count)
            .arg(kStoredFieldCount);
    if (list.count > kReadableFieldCount)
        return QStringLiteral("データファイルの項目が多すぎます（%1 項目）").arg(list.count);
    if (!settingsWhole) return QStringLiteral("データファイルの設定値が整数ではありません");
    if (!prefixDigits)
        return QStringLiteral("データファイルの行頭がずれています（先頭 %1 文字が数字でない）")
            .arg(kPrefixLength);
    return {};
}

void fillToWidth(QString& text) {
    if (text.size() < kTextBoxLimit) text.append(QString(kTextBoxLimit - text.size(), kFill));
}

}  // namespace

QString plainField(const QString& text) {
    PlainWriter writer(PlainWriter::capacityFor(text));
    writer.field(text);
    return writer.finish();
}

QString plainText(const UrlStore& store, const QString& prefix) {
    PlainWriter writer(plainCapacity(store, prefix.size()));
    writer.symbols(prefix);
    writer.field(store.password);
    for (int16_t setting :
         {store.topMost, store.minimizeOnLaunch, store.logoffMinutes, store.browser})
        writer.setting(setting);
    for (const QString& name : store.tabNames) writer.field(name);
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            for (const QString& text : entry) writer.field(text);
    return writer.finish();
}

QString randomPrefix() {
    QString prefix(kPrefixLength, u'0');
    for (QChar& c : prefix) c = QChar(u'0' + randomBelow(10));
    return prefix;
}

void renumber(UrlStore& store) {
    for (auto& tab : store.entries)
        for (int slot = 0; slot < kSlotCount; ++slot)
            tab[slot][UrlField::number] = QString::number(slot + 1);
}

QByteArray encodeLine(UrlStore& store) {
    renumber(store);
    return encodeSymbols(plainText(store, randomPrefix()));
}

LineReadout parseLine(QByteArrayView content, UrlStore& store) {
    const QByteArrayView value = firstValue(content);
    const FieldList list = readFields(value);
    store = UrlStore();
    const bool settingsWhole = assignSettings(list.fields, store);
    assignTexts(list.fields, store);
    completeStore(store);
    return {list.count, damageOf(list, settingsWhole, prefixIsDigits(value))};
}

UrlStore emptyStore() {
    UrlStore store;
    completeStore(store);
    return store;
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
