#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <variant>

namespace velandri {

// What failed, so that a window can choose its own words for it.
enum class FailureKind {
    // Reading a store file; the store is filled as far as it went.
    dataFileUnreadable,        // subjects: path, the system's reason
    dataFileTooLarge,          // path, MiB
    dataFileFieldsMissing,     // fields found, fields a save writes
    dataFileFieldsExtra,       // fields found
    dataFileSettingNotNumber,  // none
    dataFileLineShifted,       // digits a line starts with
    // Writing a store file.
    storeTooLarge,           // MiB
    dataFolderNotMade,       // folder
    dataFilePlaceTaken,      // path
    damagedFileNotKept,      // path, the name it would be kept as
    previousFileNotRemoved,  // path, the system's reason
    previousFileNotKept,     // path, the system's reason
    dataFileNotCreated,      // path, the system's reason
    dataFileNotWritten,      // path, the system's reason
    // HTTP, archives, signatures and the update built on them.
    transferFailed,
    archiveNotExtracted,
    signatureNotValid,
    releaseNotVerified,  // the archive is not the maker's release of the announced version
    versionNotFound,
    updateNotInstalled,
    // Input of the command-line tools.
    inputNotReadable,
};

// Why an operation failed: its kind, an English detail for the log, and the values the user's
// words for the kind name, in order.
struct Failure {
    Failure(FailureKind kind, QString detail, QStringList subjects = {})
        : kind(kind), detail(std::move(detail)), subjects(std::move(subjects)) {}

    FailureKind kind;
    QString detail;
    QStringList subjects;
};

// The outcome of an operation that can fail: its value, or the Failure. Shaped after
// std::expected<T, Failure>, which this standard library does not offer yet; a Failure converts
// to any Result, so `return Failure{kind, detail};` fails whatever the value type.
template <typename T = void>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool has_value() const { return state_.index() == 0; }
    explicit operator bool() const { return has_value(); }
    // Both throw std::bad_variant_access when asked for the side the result does not hold.
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    const Failure& error() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure> state_;
};

// Success without a value.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Failure failure) : failure_(std::move(failure)) {}

    bool has_value() const { return !failure_; }
    explicit operator bool() const { return has_value(); }
    // Throws std::bad_optional_access when the result is a success.
    const Failure& error() const { return failure_.value(); }

private:
    std::optional<Failure> failure_;
};

}  // namespace velandri
