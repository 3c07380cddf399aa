#pragma once

#include <QString>

namespace velandri {

// What "完了" does with the edit row: add a new entry, or correct the selected one.
enum class EditMode { Adding, Correcting };

// Values shared between the windows that belong to no file and start every run anew.
struct SharedValues {
    QString latestVersion;
    int logoffTicks = 0;
    EditMode modifyMode = EditMode::Adding;
};

}  // namespace velandri
