#include "core/simulation/ServoSchemes.h"
#include "core/teaching/MessageTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace servo {
namespace {

// Splits on CR LF; a text ending in CR LF gives an empty last entry.
std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
        result.push_back(text.substr(start, at - start));
    }
    result.push_back(text.substr(start));
    return result;
}

struct TextCase {
    const char* name;
    int servoType;
    std::size_t lineCount;
    bool endsWithBreak;
    std::size_t firstEquation; // 1-based line numbers
    std::vector<std::string> equationLines;
};

class ExplanationText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ExplanationText, HasItsLineLayout) {
    const TextCase& c = GetParam();
    const std::string text = explanationOf(*servoSchemeOf(c.servoType));
    EXPECT_EQ(text.ends_with("\r\n"), c.endsWithBreak);
    std::vector<std::string> all = lines(text);
    if (c.endsWithBreak) {
        ASSERT_EQ(all.back(), "");
        all.pop_back();
    }
    ASSERT_EQ(all.size(), c.lineCount);
    // Exactly two empty lines: right before and right after the equation block.
    std::size_t empties = 0;
    for (const std::string& line : all) {
        empties += line.empty();
        EXPECT_EQ(line.find('\r'), std::string::npos);
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
    EXPECT_EQ(empties, 2u);
    EXPECT_EQ(all[c.firstEquation - 2], "");
    for (std::size_t i = 0; i < c.equationLines.size(); ++i) {
        EXPECT_EQ(all[c.firstEquation - 1 + i], c.equationLines[i]);
    }
    // The opening paragraph ends with a colon.
    EXPECT_EQ(all[c.firstEquation - 3].back(), ':');
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ExplanationText,
    ::testing::Values(
        TextCase{"ReverseKinematic",
                 ServoReverseKinematic,
                 16,
                 true,
                 7,
                 {"JE = JD - JC,    **one Equation for each joint.**", "",
                  "JE=error or drive signal to the motor",
                  "JD=desired angle calculated from the geometry of the robot",
                  "JC=current joint angle as measured by sensors"}},
        TextCase{"ForwardXY",
                 ServoForwardXY,
                 18,
                 false,
                 6,
                 {"XE = XD - XC,      XE=x-axis error, XD=Desired X ",
                  "YE = YD - YC       XC=Current measured X,    YE=Y-axis error, etc", ""}},
        TextCase{"ForwardRTheta",
                 ServoForwardRTheta,
                 16,
                 true,
                 6,
                 {"RE = RD - RC,    RE=Radius Error, RD=Desired radius, RC=Current radius",
                  "TE = TD - TC,    TE=Elev. Error, TD=Desired Elevation, etc. ", ""}}),
    [](const auto& testCase) { return testCase.param.name; });

TEST(ExplanationTexts, MentionWhatTheStudentShouldWatch) {
    const auto text = [](int servoType) { return explanationOf(*servoSchemeOf(servoType)); };
    EXPECT_NE(text(ServoForwardXY).find("45 degrees"), std::string::npos);
    EXPECT_NE(text(ServoForwardXY).find("oscillation"), std::string::npos);
    EXPECT_NE(text(ServoReverseKinematic).find("straight"), std::string::npos);
    EXPECT_NE(text(ServoForwardRTheta).find("hunting"), std::string::npos);
}

// About: five lines, naming where the six schemes are and the project's version.
TEST(AboutText, HasFiveLinesWithTheSchemesAndTheVersion) {
    const std::string about = aboutText("Qt");
    EXPECT_EQ(std::count(about.begin(), about.end(), '\n'), 4) << about;
    EXPECT_NE(about.find("three servo boxes and three Jacobian schemes"), std::string::npos);
    EXPECT_NE(about.find(std::string("Version ") + programVersion() + ", built with C++ and Qt."),
              std::string::npos)
        << about;
    EXPECT_STREQ(programVersion(), SERVO_PROJECT_VERSION);
}

} // namespace
} // namespace servo
