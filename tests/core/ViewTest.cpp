#include "LessonWorld.h"

#include "core/language/Translation.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"

#include <gtest/gtest.h>

#include <string>

namespace servo::testing {
namespace {

// The view is what the front ends show, in the language chosen: every caption, the
// explanation (its lines ending in line feeds alone) and the menus.
TEST(View, IsInTheLanguageChosen) {
    LessonWorld w;
    w.frames(1);
    const View english = viewOf(w.lesson, false);
    ASSERT_TRUE(setLanguage("de"));
    const View german = viewOf(w.lesson, false);
    setLanguage("en");
    EXPECT_NE(german.explanation, english.explanation);
    EXPECT_EQ(german.explanation.find('\r'), std::string::npos);
    EXPECT_NE(german.boxes[0].caption, english.boxes[0].caption);
    EXPECT_NE(german.pathCaption, english.pathCaption);
    EXPECT_NE(german.labMenu.front().caption, english.labMenu.front().caption);
}

// While a recording plays, what takes no input says so; the badge counts down.
TEST(View, AReplayFreezesTheControlsThatIgnoreInput) {
    LessonWorld w;
    w.lesson.startRecording();
    w.lesson.submit("gain 2");
    w.frames(3);
    ASSERT_EQ(w.lesson.play(w.lesson.stopRecording()), "");
    w.frames(1);
    const View view = viewOf(w.lesson, false);
    EXPECT_TRUE(view.playing);
    EXPECT_FALSE(view.columnEnabled);
    EXPECT_FALSE(view.boxes[3].enabled);
    EXPECT_FALSE(view.lab.enabled);
    EXPECT_NE(view.status.find('2'), std::string::npos) << view.status;
    for (const View::Item& item : view.labMenu) {
        const bool works = item.word != "reset" && item.word != "record" && item.word != "gainUp" &&
                           item.word != "openExperiment" && item.word != "playRecording" &&
                           item.word != "gainDown" && item.word != "gain" &&
                           item.word != "dynamics" && item.word.rfind("motor", 0) != 0;
        EXPECT_EQ(item.enabled, works) << item.word;
    }
}

} // namespace
} // namespace servo::testing
