#pragma once

#include <QFont>

// The windows' own font: a Japanese UI font at 9 pt, so captions measure as they were laid out.
QFont windowFont();
