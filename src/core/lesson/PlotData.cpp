#include "core/lesson/PlotData.h"

#include "core/lesson/ScriptWords.h"
#include "core/simulation/ServoSchemes.h"
#include "core/state/Geometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace servo {

namespace {

std::string field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quotedText = "\"";
    for (const char c : text) {
        quotedText += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quotedText + "\"";
}

std::string number(double value) {
    return std::isfinite(value) ? exactNumber(value) : std::string();
}

// A signal's column header: its name with its unit, as the plot's legend names it.
std::string signalHeader(const SignalNames& names, std::size_t index) {
    std::string header = names.names[index];
    if (*names.unit != '\0') {
        header += std::string(" (") + names.unit + ")";
    }
    return header;
}

} // namespace

std::string plotDataCsv(const ErrorHistory& history) {
    const std::vector<ErrorSample> samples = history.samples();
    // The signal columns: every signal of each scheme that the history holds, in scheme order.
    std::vector<std::string> signalColumns;
    for (const int signalSet : signalSets()) {
        const bool present = std::any_of(samples.begin(), samples.end(), [&](const auto& sample) {
            return sample.signalSet == signalSet;
        });
        const SignalNames names = plotSignalNames(signalSet);
        for (std::size_t i = 0; present && i < names.names.size() && names.names[i]; ++i) {
            const std::string header = signalHeader(names, i);
            if (std::find(signalColumns.begin(), signalColumns.end(), header) ==
                signalColumns.end()) {
                signalColumns.push_back(header);
            }
        }
    }
    std::string csv = "step,scheme,target x (window units),target y (window units),"
                      "distance (arm units)";
    for (const std::string& header : signalColumns) {
        csv += "," + field(header);
    }
    csv += ",shoulder angle (degrees),elbow angle (degrees),wrist angle (degrees)\r\n";
    for (const ErrorSample& sample : samples) {
        const ServoScheme* scheme = servoSchemeOf(sample.servoType);
        csv += std::to_string(sample.cycle) + "," + field(scheme ? scheme->name : "") + "," +
               number(sample.targetX) + "," + number(sample.targetY) + "," +
               number(sample.distance);
        const SignalNames names = plotSignalNames(sample.signalSet);
        for (const std::string& header : signalColumns) {
            std::string value;
            for (std::size_t i = 0; i < names.names.size() && names.names[i]; ++i) {
                if (signalHeader(names, i) == header) {
                    value = number(sample.signalValues[i]);
                }
            }
            csv += "," + value;
        }
        csv += "," + number(sample.shoulderAngle * DegreesPerRadian) + "," +
               number(sample.elbowAngle * DegreesPerRadian) + "," +
               number(sample.wristAngle * DegreesPerRadian) + "\r\n";
    }
    return csv;
}

} // namespace servo
