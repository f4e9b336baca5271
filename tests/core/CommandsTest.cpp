#include "TestWorld.h"

#include "core/commands/Commands.h"

#include <gtest/gtest.h>

#include <set>

namespace servo::testing {
namespace {

TEST(Commands, EveryItemHasItsOwnKeysAndMnemonicsDifferWithinAMenu) {
    std::set<std::string> keys;
    for (const auto* items : {&menuBarItems(), &labMenuItems()}) {
        std::set<std::string> mnemonics;
        for (const MenuItem& item : *items) {
            if (!item.keys.empty()) {
                EXPECT_TRUE(keys.insert(item.keys).second) << item.keys;
            }
            // A submenu's items count as one entry, the submenu's own caption.
            const bool firstOfSubmenu =
                item.submenu != nullptr &&
                (&item == &items->front() || (&item - 1)->submenu == nullptr);
            const std::string caption = firstOfSubmenu ? item.submenu : item.caption;
            const std::string mnemonic = mnemonicOf(caption);
            if (!mnemonic.empty() && (item.submenu == nullptr || firstOfSubmenu)) {
                EXPECT_TRUE(mnemonics.insert(mnemonic).second) << caption;
            }
        }
    }
    EXPECT_EQ(plainCaption("Pro&jector Mode"), "Projector Mode");
    EXPECT_EQ(plainCaption("A && B"), "A & B");
    EXPECT_EQ(mnemonicOf("Panic/&Stop"), "s");
    EXPECT_EQ(mnemonicOf("С&корость"), "к");
    EXPECT_EQ(mnemonicOf("&Пуск"), "п");
    EXPECT_EQ(mnemonicOf("&Ёлка"), "ё");
    EXPECT_EQ(mnemonicOf("&Écrire"), "é");
    EXPECT_EQ(mnemonicOf("no && mark"), "");
}

// Each edition's keys help lists the keys of what it shows, and only those: the page has no
// Quit and no experiment files.
TEST(Commands, TheKeysHelpListsOnlyTheEditionsOwnKeys) {
    const auto keysOf = [](Edition edition) {
        std::set<std::string> keys;
        for (const KeyHelpRow& row : keyHelp(edition)) {
            keys.insert(row.keys);
        }
        return keys;
    };
    const std::set<std::string> desktop = keysOf(Edition::Desktop);
    const std::set<std::string> page = keysOf(Edition::Page);
    for (const char* both : {"F5", "Esc", "Ctrl+G", "F1", "Ctrl+L", "Ctrl+D", "Ctrl+K"}) {
        EXPECT_TRUE(desktop.count(both) == 1 && page.count(both) == 1) << both;
    }
    for (const char* windowOnly : {"Ctrl+Q", "Ctrl+S", "Ctrl+O"}) {
        EXPECT_EQ(desktop.count(windowOnly), 1u) << windowOnly;
        EXPECT_EQ(page.count(windowOnly), 0u) << windowOnly;
    }
}

TEST(Commands, PerformingAnItemChangesWhatItShows) {
    World w;
    Lab lab(w.headless.simulation);
    for (std::size_t i = 0; i < Cues.size(); ++i) {
        const MenuItem& cue = menuItem(Command::Cue, static_cast<int>(i));
        EXPECT_EQ(cue.keys, "Ctrl+" + std::to_string(i + 1));
        EXPECT_FALSE(itemState(cue, lab, false).checked);
        perform(cue, lab);
        EXPECT_TRUE(itemState(cue, lab, false).checked);
        EXPECT_TRUE(lab.anyCue());
    }
    perform(menuItem(Command::Speed, 0), lab);
    EXPECT_TRUE(itemState(menuItem(Command::Speed, 0), lab, false).checked);
    EXPECT_FALSE(itemState(menuItem(Command::Speed, NormalSpeed), lab, false).checked);
    EXPECT_FALSE(itemState(menuItem(Command::Slower), lab, false).enabled);
    perform(menuItem(Command::Stop), lab);
    EXPECT_EQ(w.state.runState, RunStopped);
    perform(menuItem(Command::Step), lab);
    EXPECT_EQ(w.state.stepPending, 1);
    EXPECT_TRUE(itemState(menuItem(Command::LabPanel), lab, true).checked);
}

TEST(Commands, GainStepsByATenthAndStaysInRange) {
    World w;
    Lab lab(w.headless.simulation);
    const MenuItem& up = menuItem(Command::GainUp);
    const MenuItem& down = menuItem(Command::GainDown);
    perform(up, lab);
    perform(up, lab);
    EXPECT_DOUBLE_EQ(w.state.gain, 1.2);
    EXPECT_EQ(itemState(menuItem(Command::GainShown), lab, false).caption, "Gain: 1.2");
    gainEntered(w.state, 19.96);
    perform(up, lab);
    EXPECT_EQ(w.state.gain, MaxGain);
    gainEntered(w.state, 0.04);
    EXPECT_EQ(w.state.gain, 0);
    perform(down, lab);
    EXPECT_EQ(w.state.gain, 0);
    gainEntered(w.state, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(w.state.gain, 0);
}

TEST(Commands, AModalBoxHoldsTheSimulationStill) {
    World w;
    Lab lab(w.headless.simulation);
    lab.setModalOpen(true);
    for (int i = 0; i < 10; ++i) {
        lab.frame(1.0 / 60);
    }
    EXPECT_EQ(lab.history().size(), 0u);
    lab.setModalOpen(false);
    lab.frame(1.0 / 60);
    EXPECT_EQ(lab.history().size(), 1u);
}

} // namespace
} // namespace servo::testing
