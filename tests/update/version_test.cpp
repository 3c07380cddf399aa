#include "update/version.h"

#include <gtest/gtest.h>

#include "fakes/qt_printers.h"

using namespace velandri;

namespace {

struct NewerRow {
    const char* name;
    QString latest;
    bool newer;
};

const NewerRow kNewerRows[] = {
    {"1.7 is newer", "1.7", true},
    {"2.0 is newer", "2.0", true},
    {"1.6.1 is newer: 1.6 is its prefix", "1.6.1", true},
    {"1.10 sorts before 1.6", "1.10", false},
    {"1.6 is the own version", "1.6", false},
    {"1.05 sorts before 1.6", "1.05", false},
    {"a leading blank sorts first", " 1.7", false},
    {"nothing found", "", false},
    {"letters sort after digits", "a", true},
    {"a capital sorts before a small letter", "1.6A", true},
};

TEST(Version, NewerThanTheOwnVersion) {
    for (const auto& [name, latest, newer] : kNewerRows) {
        EXPECT_EQ(isNewerVersion(QStringLiteral("1.6"), latest), newer) << name;
    }
}

struct PageRow {
    const char* name;
    QString page;
    std::optional<QString> version;
};

const QString kOpen = QStringLiteral("<td width=\"610\">");

QString row(int blanks, const QString& cell) {
    return "<tr><td>velandri</td>" + QString(blanks, u' ') + kOpen + cell + "</td></tr>";
}

// The identifier, both markers and the version must fit in the 60 characters from the
// identifier's first character. "velandri</td>" is 13 characters: with 23 blanks, 1.7 and
// "</td>" end at the 60th.
const PageRow kPageRows[] = {
    {"closing marker ends at the 60th character", row(23, "1.7"), "1.7"},
    {"closing marker one character too far", row(24, "1.7"), std::nullopt},
    {"empty cell right at the end", row(26, ""), ""},
    {"no closing marker", "velandri" + kOpen + "1.7", std::nullopt},
    {"closing marker before the opening one", "velandri</td>" + kOpen + "1.7", std::nullopt},
    {"identifier is case-sensitive", "Velandri" + kOpen + "1.7</td>", std::nullopt},
    {"first identifier counts", "velandri" + QString(60, u' ') + "velandri" + kOpen + "1.7</td>",
     std::nullopt},
    {"text taken without trimming", "velandri" + kOpen + "\t1.7 </td>", "\t1.7 "},
};

TEST(Version, FoundInTheRowWindowOfThePage) {
    for (const auto& [name, page, version] : kPageRows) {
        EXPECT_EQ(parseVersionPage(page), version) << name;
    }
}

}  // namespace
