#include "tools/store_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QStringList>
#include <cmath>
#include <limits>

namespace velandri {

namespace {

const QStringList kEntryKeys = {QStringLiteral("number"), QStringLiteral("title"),
                                QStringLiteral("url"), QStringLiteral("content")};
const QStringList kSettingKeys = {QStringLiteral("topMost"), QStringLiteral("minimizeOnLaunch"),
                                  QStringLiteral("logoffMinutes"), QStringLiteral("browser")};
const QString kPasswordKey = QStringLiteral("password");
const QString kTabNamesKey = QStringLiteral("tabNames");
const QString kEntriesKey = QStringLiteral("entries");

int16_t* settingField(UrlStore& store, int index) {
    int16_t* fields[] = {&store.topMost, &store.minimizeOnLaunch, &store.logoffMinutes,
                         &store.browser};
    return fields[index];
}

QJsonArray entriesToJson(const UrlStore& store) {
    QJsonArray tabs;
    for (const auto& tab : store.entries) {
        QJsonArray tabSlots;
        for (const UrlEntry& entry : tab) {
            QJsonObject object;
            for (int field = 0; field < kFieldCount; ++field)
                object[kEntryKeys[field]] = entry[field];
            tabSlots.append(object);
        }
        tabs.append(tabSlots);
    }
    return tabs;
}

// Reads JSON values into the store; the first problem ends the reading with its reason.
class JsonReader {
public:
    explicit JsonReader(UrlStore& store) : store_(store) {}

    Result<> readStore(const QJsonObject& object) {
        for (auto it = object.begin(); it != object.end(); ++it)
            if (Result<> read = readKey(it.key(), it.value()); !read) return read;
        return {};
    }

private:
    static Failure fail(const QString& reason) {
        return Failure{FailureKind::inputNotReadable, reason};
    }

    Result<> readKey(const QString& key, const QJsonValue& value) {
        if (key == kPasswordKey) return readText(value, key, store_.password);
        if (kSettingKeys.contains(key))
            return readSetting(value, key, *settingField(store_, kSettingKeys.indexOf(key)));
        if (key == kTabNamesKey) return readTabNames(value);
        if (key == kEntriesKey) return readEntries(value);
        return fail(QStringLiteral("unknown key \"%1\"").arg(key));
    }

    Result<> readText(const QJsonValue& value, const QString& where, QString& text) {
        if (!value.isString()) return fail(QStringLiteral("%1 must be a string").arg(where));
        text = value.toString();
        return {};
    }

    Result<> readSetting(const QJsonValue& value, const QString& where, int16_t& setting) {
        const double number = value.toDouble();
        if (!value.isDouble() || std::trunc(number) != number)
            return fail(QStringLiteral("%1 must be a whole number").arg(where));
        if (number < std::numeric_limits<int16_t>::min() ||
            number > std::numeric_limits<int16_t>::max())
            return fail(QStringLiteral("%1 is outside -32768..32767").arg(where));
        setting = static_cast<int16_t>(number);
        return {};
    }

    Result<> readArray(const QJsonValue& value, const QString& where, qsizetype limit,
                       QJsonArray& array) {
        if (!value.isArray()) return fail(QStringLiteral("%1 must be an array").arg(where));
        array = value.toArray();
        if (array.size() > limit)
            return fail(QStringLiteral("%1 has more than %2 items").arg(where).arg(limit));
        return {};
    }

    Result<> readTabNames(const QJsonValue& value) {
        QJsonArray names;
        if (Result<> read = readArray(value, kTabNamesKey, kTabCount, names); !read) return read;
        for (int i = 0; i < names.size(); ++i)
            if (Result<> read =
                    readText(names[i], QStringLiteral("tabNames[%1]").arg(i), store_.tabNames[i]);
                !read)
                return read;
        return {};
    }

    Result<> readEntries(const QJsonValue& value) {
        QJsonArray tabs;
        if (Result<> read = readArray(value, kEntriesKey, kTabCount, tabs); !read) return read;
        for (int tab = 0; tab < tabs.size(); ++tab) {
            QJsonArray tabSlots;
            const QString where = QStringLiteral("entries[%1]").arg(tab);
            if (Result<> read = readArray(tabs[tab], where, kSlotCount, tabSlots); !read)
                return read;
            for (int slot = 0; slot < tabSlots.size(); ++slot)
                if (Result<> read =
                        readEntry(tabSlots[slot], QStringLiteral("%1[%2]").arg(where).arg(slot),
                                  store_.entries[tab][slot]);
                    !read)
                    return read;
        }
        return {};
    }

    Result<> readEntry(const QJsonValue& value, const QString& where, UrlEntry& entry) {
        if (!value.isObject()) return fail(QStringLiteral("%1 must be an object").arg(where));
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            const int field = kEntryKeys.indexOf(it.key());
            if (field < 0)
                return fail(QStringLiteral("%1: unknown key \"%2\"").arg(where, it.key()));
            if (Result<> read = readText(it.value(), where + u'.' + it.key(), entry[field]); !read)
                return read;
        }
        return {};
    }

    UrlStore& store_;
};

}  // namespace

QJsonObject storeToJson(const UrlStore& store) {
    QJsonObject object;
    object[kPasswordKey] = store.password;
    const int16_t settings[] = {store.topMost, store.minimizeOnLaunch, store.logoffMinutes,
                                store.browser};
    for (int i = 0; i < kSettingKeys.size(); ++i) object[kSettingKeys[i]] = settings[i];
    QJsonArray names;
    for (const QString& name : store.tabNames) names.append(name);
    object[kTabNamesKey] = names;
    object[kEntriesKey] = entriesToJson(store);
    return object;
}

Result<UrlStore> storeFromJson(const QByteArray& json) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Failure{FailureKind::inputNotReadable,
                       QStringLiteral("malformed JSON at offset %1: %2")
                           .arg(parseError.offset)
                           .arg(parseError.errorString())};
    if (!document.isObject())
        return Failure{FailureKind::inputNotReadable,
                       QStringLiteral("the JSON text must be one object")};
    UrlStore store;
    if (Result<> read = JsonReader(store).readStore(document.object()); !read) return read.error();
    return store;
}

}  // namespace velandri
