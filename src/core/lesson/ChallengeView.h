#pragma once

#include <string>
#include <vector>

namespace servo {

class JsonWriter;
class Lesson;

// The challenge under way as the Challenges dialog shows it, in the language chosen.
struct ChallengeView {
    struct Goal {
        std::string text;     // "Settle within 0.5 s"
        std::string progress; // "met at cycle 25 (0.32)"
        std::string status;   // "pending", "met" or "failed" (not translated: a style's name)
        bool operator==(const Goal&) const = default;
    };
    bool active = false;
    std::string name; // the built-in challenge's name; empty for one opened from a file or link
    std::string title;
    std::string task;
    std::string combine; // how the goals combine, in words
    std::vector<Goal> goals;
    std::vector<std::string> hints; // the hints shown so far
    int hintsLeft = 0;
    std::string verdict;   // "Challenge met at cycle 30", "Challenge pending", ...
    std::string figures;   // the lab's figures line once decided, else empty
    bool recorded = false; // the attempt is being recorded, so it can be handed in
    bool operator==(const ChallengeView&) const = default;
};
ChallengeView challengeViewOf(const Lesson& lesson);
void writeChallengeView(JsonWriter& json, const ChallengeView& view);

// A built-in challenge as the dialog's list shows it: its name (what "challenge-open NAME"
// takes) and its title in the language chosen, along the lesson path.
struct ChallengeChoice {
    std::string name;
    std::string title;
};
std::vector<ChallengeChoice> challengeChoices();

} // namespace servo
