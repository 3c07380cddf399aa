#pragma once

#include <QString>
#include <cstddef>
#include <cstring>

namespace velandri {

// How a module loaded on demand hands a failure's reason to the program: in UTF-8, cut to the
// caller's buffer of size bytes, ending in a zero.
inline void writeModuleReason(const QString& reason, char* buffer, size_t size) {
    if (size == 0) return;
    const QByteArray text = reason.toUtf8().left(qsizetype(size - 1));
    std::memcpy(buffer, text.constData(), size_t(text.size()));
    buffer[text.size()] = '\0';
}

}  // namespace velandri
