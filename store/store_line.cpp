#include "store/store_line.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "store/codec.h"
#include "store/cp932.h"
#include "store/jis_fold.h"
#include "store/random_source.h"
#include "store/stored_text.h"
#include "store/text.h"

namespace velandri {

namespace {

constexpr uint32_t kCodeModulus = 0x10000;
constexpr QChar kFill = u'\u3000';

constexpr int kLongestCode = 7;     // "-32768空"
constexpr int kLongestSetting = 6;  // "-32768"

// The symbols of every one-byte code, the digits and "空", worked out once: most characters of
// a store (its addresses) have one-byte codes.
constexpr int kByteCodeCount = 256;
struct ByteCodeSymbols {
    std::array<uint8_t, 4> symbols{};
    uint8_t length = 0;
};

constexpr std::array<ByteCodeSymbols, kByteCodeCount> buildByteCodeSymbols() {
    std::array<ByteCodeSymbols, kByteCodeCount> table{};
    for (int code = 0; code < kByteCodeCount; ++code) {
        ByteCodeSymbols& entry = table[code];
        const int digits = code < 10 ? 1 : code < 100 ? 2 : 3;
        for (int i = digits - 1, rest = code; i >= 0; --i, rest /= 10)
            entry.symbols[i] = static_cast<uint8_t>(rest % 10);
        entry.symbols[digits] = kCodeEndSymbol;
        entry.length = static_cast<uint8_t>(digits + 1);
    }
    return table;
}

constexpr auto kByteCodeSymbols = buildByteCodeSymbols();

// Writes plain symbols, by index, into a buffer sized beforehand for the longest codes.
class PlainWriter {
public:
    explicit PlainWriter(qsizetype capacity) : symbols_(capacity, Qt::Uninitialized) {
        next_ = symbols_.data();
    }

    // The symbols go through a local pointer: written through the member, every stored symbol
    // would make the compiler store and reload the pointer, as a char may alias it.
    void field(QStringView text) {
        const QStringView trimmed = trimmedView(text);
        char* out = next_;
        if (trimmed.isEmpty()) *out++ = kCodeEndSymbol;
        for (QChar c : trimmed) out = code(out, storedCode(c));
        *out++ = kFieldEndSymbol;
        next_ = out;
    }

    void setting(int16_t value) { field(QString::number(value)); }

    void symbols(QByteArrayView plain) {
        for (char symbol : plain) put(static_cast<uint8_t>(symbol));
    }

    QByteArray finish() {
        symbols_.truncate(next_ - symbols_.data());
        return std::move(symbols_);
    }

    // Room for a field of the given length in the worst case.
    static qsizetype capacityFor(qsizetype length) { return kLongestCode * length + 2; }
    static qsizetype capacityFor(QStringView text) { return capacityFor(text.size()); }

private:
    void put(uint8_t symbol) { *next_++ = static_cast<char>(symbol); }

    static char* code(char* out, int value) {
        if (value >= 0 && value < kByteCodeCount) {
            // Four bytes always copied, the code's own kept: within the room of the longest code.
            const ByteCodeSymbols& symbols = kByteCodeSymbols[value];
            std::memcpy(out, symbols.symbols.data(), symbols.symbols.size());
            return out + symbols.length;
        }
        if (value < 0) *out++ = kMinusSymbol;
        unsigned rest = value < 0 ? -value : value;
        uint8_t digits[5];
        int length = 0;
        do {
            digits[length++] = static_cast<uint8_t>(rest % 10);
            rest /= 10;
        } while (rest != 0);
        while (length > 0) *out++ = static_cast<char>(digits[--length]);
        *out++ = kCodeEndSymbol;
        return out;
    }

    QByteArray symbols_;
    char* next_;
};

// The fields of every entry as the file stores them, in file order: an address in the form the
// file keeps whole. Worked out once for both the capacity and the writing.
QStringList storedEntryFields(const UrlStore& store) {
    QStringList fields;
    fields.reserve(qsizetype(store.entries.size() * store.entries[0].size()) * kFieldCount);
    for (const auto& tab : store.entries)
        for (const UrlEntry& entry : tab)
            for (int field = 0; field < kFieldCount; ++field)
                fields << (field == UrlField::url ? storableUrl(entry[field]) : entry[field]);
    return fields;
}

qsizetype plainCapacity(const UrlStore& store, const QStringList& entryFields,
                        qsizetype prefixLength) {
    qsizetype capacity = prefixLength + PlainWriter::capacityFor(store.password) +
                         4 * PlainWriter::capacityFor(kLongestSetting);
    for (const QString& name : store.tabNames) capacity += PlainWriter::capacityFor(name);
    for (const QString& text : entryFields) capacity += PlainWriter::capacityFor(text);
    return capacity;
}

// The plain symbols of the whole store behind the given prefix symbols, fields in file order.
QByteArray storeSymbols(const UrlStore& store, QByteArrayView prefix) {
    const QStringList entryFields = storedEntryFields(store);
    PlainWriter writer(plainCapacity(store, entryFields, prefix.size()));
    writer.symbols(prefix);
    writer.field(store.password);
    for (int16_t setting :
         {store.topMost, store.minimizeOnLaunch, store.logoffMinutes, store.browser})
        writer.setting(setting);
    for (const QString& name : store.tabNames) writer.field(name);
    for (const QString& text : entryFields) writer.field(text);
    return writer.finish();
}

QByteArray randomPrefixSymbols() {
    QByteArray prefix(kPrefixLength, Qt::Uninitialized);
    for (char& digit : prefix) digit = static_cast<char>(randomBelow(10));
    return prefix;
}

// The digit text D of the reader: a code being read, kept as its value modulo 65536.
class CodeDigits {
public:
    bool isEmpty() const { return length_ == 0; }
    void addDigit(uint8_t digit) {
        value_ = (value_ * 10 + digit) % kCodeModulus;
        hasDigits_ = true;
        ++length_;
    }
    void addMinus() {
        wellFormed_ = wellFormed_ && length_ == 0;
        negative_ = true;
        ++length_;
    }
    // The character of the code; "?" when the digits form no whole number.
    QChar character() const {
        if (!wellFormed_ || !hasDigits_) return u'?';
        const uint32_t code = negative_ ? (kCodeModulus - value_) % kCodeModulus : value_;
        return cp932Character(static_cast<uint16_t>(code));
    }
    void clear() { *this = CodeDigits(); }

private:
    uint32_t value_ = 0;
    qsizetype length_ = 0;
    bool negative_ = false;
    bool hasDigits_ = false;
    bool wellFormed_ = true;
};

// The value the reader sees: the first line up to its first comma, leading spaces skipped.
QByteArrayView firstValue(QByteArrayView content) {
    qsizetype begin = 0;
    while (begin < content.size() && content[begin] == ' ') ++begin;
    QByteArrayView value = content.sliced(begin);
    // One search per stop character: each is a memchr, far quicker than a loop over the line.
    for (char stop : {',', '\r', '\n'})
        if (const qsizetype end = value.indexOf(stop); end >= 0) value.truncate(end);
    return value;
}

QString fieldText(const QChar* begin, const QChar* end) {
    return begin == end ? QString() : QString(begin, end - begin);
}

using SettingTexts = std::array<QString, 4>;  // topMost, minimizeOnLaunch, logoffMinutes, browser

using FieldTargets = std::array<QString*, kStoredFieldCount>;

// Where each stored field of the line goes, in file order.
FieldTargets fieldTargets(UrlStore& store, SettingTexts& settings) {
    FieldTargets targets;
    auto next = targets.begin();
    *next++ = &store.password;
    for (QString& text : settings) *next++ = &text;
    for (QString& name : store.tabNames) *next++ = &name;
    for (auto& tab : store.entries)
        for (UrlEntry& entry : tab)
            for (QString& text : entry) *next++ = &text;
    return targets;
}

// Reads the fields straight into the store (the settings as texts) and returns how many the
// line holds. Every stored field is assigned: those the line lacks become empty.
qsizetype readFields(QByteArrayView value, UrlStore& store, SettingTexts& settings) {
    const QByteArrayView scrambled = value.sliced(std::min(value.size(), qsizetype(kPrefixLength)));
    // A field is read into one buffer and copied out whole. Each character takes at least two
    // symbols (a digit and "空"), so half the characters bound its length.
    QString buffer(scrambled.size() / 2 + 1, Qt::Uninitialized);
    QChar* const field = buffer.data();
    QChar* next = field;
    CodeDigits digits;
    const FieldTargets targets = fieldTargets(store, settings);
    qsizetype count = 0;
    for (char c : scrambled) {
        const uint8_t symbol = symbolOf(c);
        if (symbol < kMinusSymbol) {
            digits.addDigit(symbol);
        } else if (symbol == kCodeEndSymbol) {
            if (digits.isEmpty())
                next = field;
            else
                *next++ = digits.character();
            digits.clear();
        } else if (symbol == kFieldEndSymbol) {
            if (count < kStoredFieldCount) *targets[count] = fieldText(field, next);
            ++count;
            next = field;
        } else if (symbol == kMinusSymbol) {
            digits.addMinus();
        }
    }
    for (qsizetype k = count; k < kStoredFieldCount; ++k) *targets[k] = QString();
    return count;
}

std::optional<int16_t> wholeNumber(const QString& text) {
    bool ok = false;
    const short value = text.toShort(&ok, 10);
    return ok ? std::optional<int16_t>(value) : std::nullopt;
}

// Assigns the four settings; false when one of them is not a whole 16-bit number (it is 0).
bool assignSettings(const SettingTexts& texts, UrlStore& store) {
    int16_t* settings[] = {&store.topMost, &store.minimizeOnLaunch, &store.logoffMinutes,
                           &store.browser};
    bool whole = true;
    for (int i = 0; i < 4; ++i) {
        const std::optional<int16_t> value = wholeNumber(texts[i]);
        *settings[i] = value.value_or(0);
        whole = whole && value.has_value();
    }
    return whole;
}

// A save writes kPrefixLength digits first; anything else there means the line has shifted (a
// stray byte before it) or was changed, and its first field may be misread.
bool prefixIsDigits(QByteArrayView value) {
    if (value.size() < kPrefixLength) return false;
    return std::all_of(value.begin(), value.begin() + kPrefixLength,
                       [](char c) { return symbolOf(c) < kMinusSymbol; });
}

Result<> damageOf(qsizetype fieldCount, bool settingsWhole, bool prefixDigits) {
    const QString found = QString::number(fieldCount);
    if (fieldCount < kStoredFieldCount)
        return Failure{FailureKind::dataFileFieldsMissing,
                       QStringLiteral("%1 of %2 fields").arg(fieldCount).arg(kStoredFieldCount),
                       {found, QString::number(kStoredFieldCount)}};
    if (fieldCount > kReadableFieldCount)
        return Failure{
            FailureKind::dataFileFieldsExtra,
            QStringLiteral("%1 fields, more than %2").arg(fieldCount).arg(kReadableFieldCount),
            {found}};
    if (!settingsWhole)
        return Failure{FailureKind::dataFileSettingNotNumber,
                       QStringLiteral("a setting is not a whole number")};
    if (!prefixDigits)
        return Failure{FailureKind::dataFileLineShifted,
                       QStringLiteral("the line does not start with %1 digits").arg(kPrefixLength),
                       {QString::number(kPrefixLength)}};
    return {};
}

// An empty text takes one shared filled text instead of a new one: a load fills hundreds.
void fillToWidth(QString& text) {
    static const QString filled(kTextBoxLimit, kFill);
    if (text.isEmpty())
        text = filled;
    else if (text.size() < kTextBoxLimit)
        text.resize(kTextBoxLimit, kFill);
}

// The slot numbers "1" to "30", made once and shared by every store.
const std::array<QString, kSlotCount>& slotNumbers() {
    static const std::array<QString, kSlotCount> numbers = [] {
        std::array<QString, kSlotCount> made;
        for (int slot = 0; slot < kSlotCount; ++slot) made[slot] = QString::number(slot + 1);
        return made;
    }();
    return numbers;
}

}  // namespace

QString plainField(const QString& text) {
    PlainWriter writer(PlainWriter::capacityFor(text));
    writer.field(text);
    return symbolText(writer.finish());
}

QString plainText(const UrlStore& store, const QString& prefix) {
    return prefix + symbolText(storeSymbols(store, {}));
}

QString randomPrefix() { return symbolText(randomPrefixSymbols()); }

void renumber(UrlStore& store) {
    for (auto& tab : store.entries)
        for (int slot = 0; slot < kSlotCount; ++slot)
            tab[slot][UrlField::number] = slotNumbers()[slot];
}

QByteArray encodeLine(UrlStore& store) {
    renumber(store);
    return scrambleSymbols(storeSymbols(store, randomPrefixSymbols()));
}

LineReadout parseLine(QByteArrayView content, UrlStore& store) {
    SettingTexts settings;
    const QByteArrayView value = firstValue(content);
    const qsizetype fieldCount = readFields(value, store, settings);
    const bool settingsWhole = assignSettings(settings, store);
    completeStore(store);
    return {fieldCount, damageOf(fieldCount, settingsWhole, prefixIsDigits(value))};
}

UrlStore emptyStore() {
    UrlStore store;
    completeStore(store);
    return store;
}

void completeStore(UrlStore& store) {
    store.logoffMinutes =
        std::clamp<int16_t>(store.logoffMinutes, 0, kLongestLogoffMinutes);
    for (auto& tab : store.entries) {
        const auto used = [](const UrlEntry& entry) { return !isBlank(entry[UrlField::url]); };
        // Most tabs are in order already; stable_partition would allocate a buffer for each.
        if (!std::is_partitioned(tab.begin(), tab.end(), used))
            std::stable_partition(tab.begin(), tab.end(), used);
        for (UrlEntry& entry : tab) {
            fillToWidth(entry[UrlField::title]);
            fillToWidth(entry[UrlField::content]);
        }
    }
    renumber(store);
}

}  // namespace velandri
