#include "LessonWorld.h"

#include "core/access/Sonifier.h"
#include "core/lesson/Experiment.h"
#include "core/lesson/InputCommands.h"
#include "core/lesson/Lesson.h"
#include "core/lesson/View.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace servo::testing {
namespace {

// A run frame by frame: each frame's tone and the frames at which each event was heard.
struct Heard {
    std::vector<double> hertz;
    std::vector<double> level;
    std::vector<std::pair<int, SoundEvent>> events;
};

Heard listen(LessonWorld& w, Sonifier& sonifier, int frames) {
    Heard heard;
    for (int frame = 0; frame < frames; ++frame) {
        w.frames(1);
        const SoundFrame sound = sonifier.afterFrame(w.lab);
        heard.hertz.push_back(sound.toneHertz);
        heard.level.push_back(sound.toneLevel);
        for (const SoundEvent event : sound.events) {
            heard.events.emplace_back(frame, event);
        }
    }
    return heard;
}

// Turns of the pitch from rising to falling or back by more than `by` hertz.
int turns(const std::vector<double>& hertz, double by) {
    int count = 0;
    int direction = 0;
    double extreme = hertz.front();
    for (const double h : hertz) {
        if (direction >= 0 && h < extreme - by) {
            count += direction > 0;
            direction = -1;
            extreme = h;
        } else if (direction <= 0 && h > extreme + by) {
            count += direction < 0;
            direction = 1;
            extreme = h;
        } else if ((direction > 0 && h > extreme) || (direction < 0 && h < extreme)) {
            extreme = h;
        }
    }
    return count;
}

TEST(Sonifier, ASettlingArmGlidesDownAndFallsSilentWhenItReaches) {
    LessonWorld w;
    Sonifier sonifier;
    listen(w, sonifier, 40); // settled at start-up's target
    w.lesson.submit(inputLine("press", 300.0f, 90.0f));
    w.lesson.submit("release");
    const Heard heard = listen(w, sonifier, 60);
    ASSERT_FALSE(heard.events.empty());
    EXPECT_EQ(heard.events.front(), std::make_pair(0, SoundEvent::TargetSet));
    const auto reached = std::find_if(heard.events.begin(), heard.events.end(), [](const auto& e) {
        return e.second == SoundEvent::Reached;
    });
    ASSERT_NE(reached, heard.events.end());
    const int at = reached->first;
    EXPECT_GT(at, 3);
    EXPECT_GT(heard.hertz[0], 2 * ToneLowHertz);
    for (int frame = 1; frame <= at; ++frame) {
        EXPECT_LE(heard.hertz[frame], heard.hertz[frame - 1] + 1e-9) << frame; // a falling glide
        EXPECT_EQ(heard.level[frame - 1], 1) << frame;
    }
    EXPECT_EQ(heard.level[at], 0);
    EXPECT_EQ(heard.level.back(), 0);
}

TEST(Sonifier, AHuntingArmWobblesAtTheHuntingsPeriod) {
    LessonWorld w;
    Sonifier sonifier;
    w.lesson.submit("scheme xy");
    w.lesson.submit(inputLine("press", 420.0f, 70.0f));
    w.lesson.submit("release");
    listen(w, sonifier, 60);
    const Heard heard = listen(w, sonifier, 120);
    EXPECT_GE(turns(heard.hertz, 1), 8); // rising and falling again and again
    EXPECT_EQ(*std::min_element(heard.level.begin(), heard.level.end()), 1);
    w.lesson.submit("stop");
    EXPECT_EQ(listen(w, sonifier, 2).level.back(), 0); // a stopped arm is silent
}

TEST(Sonifier, GripAndDropAreHeard) {
    LessonWorld w;
    Sonifier sonifier;
    listen(w, sonifier, 1);
    w.world.state.objectHeld = 1;
    EXPECT_EQ(sonifier.afterFrame(w.lab).events, std::vector{SoundEvent::Grip});
    w.world.state.objectHeld = 0;
    EXPECT_EQ(sonifier.afterFrame(w.lab).events, std::vector{SoundEvent::Drop});
    w.world.state.dynamics.saturated[1] = true; // only with dynamics on
    EXPECT_TRUE(sonifier.afterFrame(w.lab).events.empty());
    w.world.state.dynamics.on = true;
    EXPECT_EQ(sonifier.afterFrame(w.lab).events, std::vector{SoundEvent::Saturated});
    EXPECT_EQ(toneHertzOf(0), ToneLowHertz);
    EXPECT_EQ(toneHertzOf(1e9), ToneHighHertz);
    EXPECT_EQ(toneHertzOf(ToneErrorScale), 2 * ToneLowHertz); // an octave up
}

// Sound and voicing are each student's own: a reset, an experiment and a recording keep them
// as they are and hold nothing of them; the view carries them.
TEST(Sonifier, SoundAndVoicingStayOutOfExperimentsAndRecordings) {
    LessonWorld w;
    EXPECT_FALSE(viewOf(w.lesson, false).sound.on);
    w.lesson.startRecording();
    for (const char* line : {"item sound", "item voicing", "item volume3"}) {
        EXPECT_EQ(w.lesson.submit(line), "") << line;
    }
    w.frames(2);
    const std::string script = w.lesson.stopRecording();
    EXPECT_EQ(script.find("sound"), std::string::npos) << script;
    EXPECT_EQ(script.find("volume"), std::string::npos) << script;
    const std::string saved = writeExperiment(experimentOf(w.lab, true));
    EXPECT_EQ(saved.find("sound"), std::string::npos) << saved;
    w.lesson.apply(*readExperiment(saved).experiment);
    w.lesson.submit("reset");
    const View view = viewOf(w.lesson, false);
    EXPECT_TRUE(view.sound.on);
    EXPECT_TRUE(view.voicing);
    EXPECT_EQ(view.sound.volume, 1);
    Viewer viewer;
    w.lesson.submit(inputLine("press", 300.0f, 90.0f));
    viewer.afterPass(w.lesson, false, 0);
    w.frames(1);
    w.lesson.submit(inputLine("press", 310.0f, 90.0f));
    viewer.afterPass(w.lesson, false, 1);
    EXPECT_EQ(viewer.sound().events, std::vector{SoundEvent::TargetSet});
}

} // namespace
} // namespace servo::testing
