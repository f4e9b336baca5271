#pragma once

#include <string>
#include <string_view>

namespace servo {

class Lesson;

// What a student hands in for a challenge: the recording of the attempt (a trace script, which
// `servo-trace --check` replays against the challenge) and a one-page summary in plain text.
struct HandIn {
    std::string refusal;   // why there is nothing to hand in; empty when there is
    std::string recording; // the attempt's script
    std::string summary;   // the page: the challenge, the result, each goal, how to check it
    std::string baseName;  // a file name without its extension: "reverse-settle-attempt"
};

// Ends the recording of the attempt under way and writes its summary; `when` is the date and
// time as the front end tells it. Refused without a challenge or without its recording.
HandIn handIn(Lesson& lesson, std::string_view when);

// The summary naming the recording by the file name it was saved under (its name only, no
// folder), where the student chose another than the suggested one.
std::string summaryNaming(const HandIn& handIn, std::string_view recordingFileName);

// The summary's file name for a recording's: "X.servo-trace" gives "X.txt".
std::string summaryFileName(std::string_view recordingFileName);

} // namespace servo
