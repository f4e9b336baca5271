#include "TestWorld.h"

#include "core/lab/RaceArm.h"
#include "core/simulation/ServoSchemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <string>
#include <string_view>

namespace servo::testing {
namespace {

// Every row of the scheme table, one test case each: a new row is checked as soon as it is
// written.
class SchemeRow : public ::testing::TestWithParam<const ServoScheme*> {};

TEST_P(SchemeRow, IsComplete) {
    const ServoScheme& scheme = *GetParam();
    EXPECT_GT(scheme.servoType, 0);
    EXPECT_STRNE(scheme.caption, "");
    EXPECT_STRNE(scheme.name, "");
    EXPECT_EQ(std::string_view(scheme.name).find_first_of(" ,=#&"), std::string_view::npos)
        << "a scheme's name is one word in scripts, experiment files and links";
    EXPECT_STRNE(scheme.name, NoRaceCaption) << "the race's word for no race";
    EXPECT_NE(scheme.step, nullptr);
    EXPECT_NE(scheme.signalValues, nullptr);
    if (scheme.readOut != nullptr) {
        SimulationState state;
        const std::string words = scheme.readOut(state);
        EXPECT_TRUE(words.starts_with(' ') && words.ends_with('.')) << words;
    }
}

TEST_P(SchemeRow, ExplanationOpensWithAColonAndSetsItsEquationsApart) {
    const std::string text = GetParam()->explanation;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    const std::size_t firstGap = text.find("\n\n");
    ASSERT_NE(firstGap, std::string::npos);
    EXPECT_EQ(text[firstGap - 1], ':');
    const std::size_t secondGap = text.find("\n\n", firstGap + 2);
    ASSERT_NE(secondGap, std::string::npos);
    EXPECT_EQ(text.find("\n\n", secondGap + 2), std::string::npos);
    const std::string box = explanationOf(*GetParam());
    EXPECT_EQ(std::count(box.begin(), box.end(), '\r'), std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(box.find("\n\n"), std::string::npos) << "every line ends in CR LF";
}

TEST_P(SchemeRow, NamesItsSignalsAndComputesEachOfThemFinite) {
    const ServoScheme& scheme = *GetParam();
    const SignalNames names = scheme.signalNames;
    World w;
    schemeChosen(w.state, w.controls, scheme.servoType);
    w.cycles(20);
    const SignalValues values = scheme.signalValues(w.state, w.controls.wristScrollPosition());
    std::set<std::string_view> seen;
    bool ended = false;
    for (std::size_t k = 0; k < names.names.size(); ++k) {
        ended = ended || names.names[k] == nullptr;
        if (ended) {
            EXPECT_EQ(names.names[k], nullptr) << "names end at the first nullptr";
            EXPECT_TRUE(std::isnan(values[k])) << "a signal past the last named one";
            continue;
        }
        EXPECT_STRNE(names.names[k], "");
        EXPECT_TRUE(seen.insert(names.names[k]).second) << names.names[k];
        EXPECT_TRUE(std::isfinite(values[k])) << names.names[k];
    }
    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(signalValuesOf(w.state, w.controls.wristScrollPosition())[0], values[0]);
}

TEST_P(SchemeRow, IsFoundByItsTypeNameBoxAndLabPlace) {
    const ServoScheme& scheme = *GetParam();
    EXPECT_EQ(servoSchemeOf(scheme.servoType), &scheme);
    EXPECT_EQ(servoSchemeNamed(scheme.name), &scheme);
    EXPECT_EQ(servoTypeAtLabPlace(labPlaceOf(scheme.servoType)), scheme.servoType);
    EXPECT_EQ(labSchemeList().at(scheme.labPlace), &scheme);
    EXPECT_EQ(raceSchemeOfWord(raceSchemeWord(scheme.servoType)), scheme.servoType);
    if (scheme.box != NoBox) {
        EXPECT_EQ(servoSchemeOf(scheme.box), &scheme);
        EXPECT_STREQ(boxCaption(scheme.box), scheme.caption);
    }
    World w;
    schemeChosen(w.state, w.controls, scheme.servoType);
    EXPECT_EQ(w.state.servoType, scheme.servoType);
    EXPECT_EQ(w.controls.explanationText(), explanationOf(scheme));
}

std::vector<const ServoScheme*> rows() {
    std::vector<const ServoScheme*> all;
    for (const ServoScheme& scheme : allSchemes()) {
        all.push_back(&scheme);
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Table, SchemeRow, ::testing::ValuesIn(rows()), [](const auto& row) {
    std::string name = row.param->name;
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return std::isalnum(static_cast<unsigned char>(c)) == 0; }, '_');
    return name;
});

TEST(SchemeTable, TypesNamesCaptionsAndLabPlacesAreEachUsedOnce) {
    std::set<std::string_view> names;
    std::set<std::string_view> captions;
    std::set<std::size_t> places;
    int type = 0;
    for (const ServoScheme& scheme : allSchemes()) {
        EXPECT_EQ(scheme.servoType, ++type) << "servo types run from 1 in the table's order";
        EXPECT_TRUE(names.insert(scheme.name).second) << scheme.name;
        EXPECT_TRUE(captions.insert(scheme.caption).second) << scheme.caption;
        EXPECT_TRUE(places.insert(scheme.labPlace).second) << scheme.name;
    }
    EXPECT_EQ(*places.rbegin() + 1, places.size()) << "the lab's list has no gaps";
    EXPECT_EQ(servoTypeAtLabPlace(-1), 0);
    EXPECT_EQ(servoTypeAtLabPlace(static_cast<int>(places.size())), 0);
    EXPECT_EQ(labPlaceOf(0), -1);
}

TEST(SchemeTable, TheServoBoxesSchemesLeadOneBoxEach) {
    const std::set<CheckBox> servoBoxes{CheckBox::Check1, CheckBox::Check2, CheckBox::Check3};
    std::set<CheckBox> boxes;
    for (const ServoScheme& scheme : servoSchemes()) {
        EXPECT_TRUE(servoBoxes.contains(scheme.box)) << scheme.name;
        boxes.insert(scheme.box);
    }
    EXPECT_EQ(boxes, servoBoxes);
    for (const ServoScheme& scheme : labSchemes()) {
        EXPECT_EQ(scheme.box, NoBox) << scheme.name;
    }
    EXPECT_EQ(servoSchemes().size() + labSchemes().size(), allSchemes().size());
}

} // namespace
} // namespace servo::testing
