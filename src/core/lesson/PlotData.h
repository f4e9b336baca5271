#pragma once

#include "core/lab/ErrorHistory.h"

#include <string>

namespace servo {

// The error plot's history as CSV (RFC 4180: CRLF line ends, fields quoted where they hold a
// comma or a quote) for a spreadsheet: a header line, then one row a running cycle, oldest
// first: the cycle, the scheme's name, the target, the distance, every plotted signal of the
// schemes in the history (blank where the row's scheme has no such signal), and the three joint
// angles. Numbers have a '.' decimal point whatever the locale.
std::string plotDataCsv(const ErrorHistory& history);

inline constexpr const char* PlotDataFileSuffix = ".csv";
inline constexpr const char* PictureFileSuffix = ".png";

} // namespace servo
