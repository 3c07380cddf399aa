#pragma once

#include <QLibrary>
#include <QString>
#include <array>
#include <cstddef>
#include <cstring>

#include "platform/result.h"

namespace velandri {

// How the program and a module it loads on demand meet: the module's entry point takes the
// call's arguments, then a buffer for the reason of a failure, and says whether it succeeded.

// The module's half: the reason in UTF-8, cut to the caller's buffer of size bytes, ending in a
// zero.
inline void writeModuleReason(const QString& reason, char* buffer, size_t size) {
    if (size == 0) return;
    const QByteArray text = reason.toUtf8().left(qsizetype(size - 1));
    std::memcpy(buffer, text.constData(), size_t(text.size()));
    buffer[text.size()] = '\0';
}

// The program's half: loads the module, calls its entry point of type Entry with the arguments,
// and gives the module's reason, or why the module could not be loaded, as a failure of kind. The
// module is left loaded: it serves an update, after which the program ends.
template <typename Entry, typename... Arguments>
Result<> callModule(FailureKind kind, const QString& modulePath, const char* entryName,
                    Arguments... arguments) {
    QLibrary module(modulePath);
    const auto entry = reinterpret_cast<Entry>(module.resolve(entryName));
    if (!entry) return Failure{kind, module.errorString()};
    std::array<char, 1024> reason{};
    if (!entry(arguments..., reason.data(), reason.size()))
        return Failure{kind, QString::fromUtf8(reason.data())};
    return {};
}

}  // namespace velandri
