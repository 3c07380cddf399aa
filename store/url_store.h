#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace velandri {

constexpr int kTabCount = 10;
constexpr int kSlotCount = 30;
constexpr int kFieldCount = 4;
constexpr int kTextBoxLimit = 15;  // longest title or content typed in a box
constexpr int kPasswordLimit = 8;  // longest password typed in a box
constexpr int16_t kLongestLogoffMinutes = 60;

// Field indexes of a UrlEntry; the data file stores them in this order.
namespace UrlField {
constexpr int number = 0;
constexpr int title = 1;
constexpr int url = 2;
constexpr int content = 3;
}  // namespace UrlField

// One bookmark slot: four texts addressed by UrlField.
using UrlEntry = std::array<QString, kFieldCount>;

// The whole persisted state. The windows read and assign the fields directly.
struct UrlStore {
    QString password;
    int16_t topMost = 0;
    int16_t minimizeOnLaunch = 0;
    int16_t logoffMinutes = 0;
    int16_t browser = 0;
    std::array<QString, kTabCount> tabNames;
    std::array<std::array<UrlEntry, kSlotCount>, kTabCount> entries;

    bool operator==(const UrlStore&) const = default;
};

}  // namespace velandri
