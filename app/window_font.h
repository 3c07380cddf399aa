#pragma once

#include <QFont>

namespace velandri {

// The windows' own font: a Japanese UI font at 9 pt, so captions measure as they were laid out.
QFont windowFont();

// The list's fixed-pitch font at 9.75 pt, so that its columns line up.
QFont listFont();

}  // namespace velandri
