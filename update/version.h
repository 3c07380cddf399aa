#pragma once

#include <QString>
#include <optional>

namespace velandri {

// The version text in the program's row of the maker's version page: the text between the
// first cell marker and the first "</td>" after it, within 60 characters of "velandri".
// Nothing when the row or its markers are missing or do not fit in those 60 characters.
std::optional<QString> parseVersionPage(const QString& page);

// True when latest is not empty and own sorts before it code unit by code unit, a proper
// prefix first. A comparison of text, not of numbers: "1.10" is not newer than "1.6".
bool isNewerVersion(const QString& own, const QString& latest);

}  // namespace velandri
