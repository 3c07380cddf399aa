#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include "platform/result.h"
#include "store/url_store.h"

namespace velandri {

// The store as one JSON object: password, topMost, minimizeOnLaunch, logoffMinutes, browser,
// tabNames (10 texts) and entries (10 tabs of 30 objects: number, title, url, content).

QJsonObject storeToJson(const UrlStore& store);

// Reads such an object; missing keys count as empty texts, 0 or empty entries. Unknown keys,
// wrong types, numbers outside the 16-bit range or too many tabs or slots are refused with a
// one-line reason.
Result<UrlStore> storeFromJson(const QByteArray& json);

}  // namespace velandri
