#include "core/commands/Commands.h"

#include "core/dynamics/DynamicsSettings.h"
#include "core/dynamics/MotorLaws.h"
#include "core/language/Translation.h"
#include "core/servo/ErrorFormat.h"
#include "core/simulation/Handlers.h"
#include "core/teaching/Grid.h"

#include <cctype>
#include <cstdio>
#include <stdexcept>
#include <tuple>

namespace servo {

namespace {

std::vector<MenuItem> buildMenuBar() {
    MenuItem quit{Command::Quit, "quit", N_("Quit"), "Ctrl+Q"};
    quit.edition = Edition::Desktop; // a browser closes its own tabs
    return {
        {Command::Run, "ru", N_("&Run"), "F5"},
        {Command::Stop, "st", N_("Panic/&Stop"), "Esc"},
        {Command::Grid, "Grid", N_("&Grid"), "Ctrl+G"},
        {Command::About, "about", N_("&About"), "F1"},
        quit,
    };
}

// The dynamics mode's switch and its motor laws, a submenu of radio items.
void addDynamicsItems(std::vector<MenuItem>& items) {
    MenuItem dynamics{Command::Dynamics, "dynamics", N_("Dynamics"), "F7", Check::Box};
    dynamics.separatorBefore = true;
    items.push_back(dynamics);
    for (const MotorLawRow& row : motorLaws()) {
        MenuItem motor{Command::MotorLaw,        "motor", row.caption, "", Check::Radio,
                       static_cast<int>(row.law)};
        motor.submenu = N_("Motor Law");
        items.push_back(motor);
    }
}

// The sound on or off, its volume (a submenu of radio items) and the voicing.
void addSoundItems(std::vector<MenuItem>& items) {
    MenuItem sound{Command::Sound, "sound", N_("Sound"), "F9", Check::Box};
    sound.separatorBefore = true;
    items.push_back(sound);
    for (std::size_t i = 0; i < SoundVolumes.size(); ++i) {
        MenuItem volume{Command::Volume, "volume",           SoundVolumes[i], "",
                        Check::Radio,    static_cast<int>(i)};
        volume.submenu = N_("Volume");
        items.push_back(volume);
    }
    items.push_back({Command::Voicing, "voicing", N_("Voicing"), "Shift+F9", Check::Box});
}

std::vector<MenuItem> buildLabMenu() {
    std::vector<MenuItem> items;
    items.push_back({Command::LabPanel, "labPanel", N_("Lab &Panel"), "Ctrl+L", Check::Box});
    for (std::size_t i = 0; i < Speeds.size(); ++i) {
        MenuItem speed{Command::Speed,     "speed", Speeds[i].caption, "", Check::Radio,
                       static_cast<int>(i)};
        speed.separatorBefore = i == 0;
        speed.submenu = N_("Sp&eed");
        items.push_back(speed);
    }
    items.push_back({Command::Slower, "slower", N_("&Slower"), "Ctrl+["});
    items.push_back({Command::Faster, "faster", N_("&Faster"), "Ctrl+]"});
    items.push_back({Command::Step, "step", N_("S&tep"), "F6"});
    MenuItem gain{Command::GainShown, "gain", N_("Gain: 1.0"), ""};
    gain.separatorBefore = true;
    items.push_back(gain);
    items.push_back({Command::GainUp, "gainUp", N_("Gain &Up"), "Ctrl+Up"});
    items.push_back({Command::GainDown, "gainDown", N_("Gain &Down"), "Ctrl+Down"});
    for (std::size_t i = 0; i < Cues.size(); ++i) {
        MenuItem cue{Command::Cue,    "cue",
                     Cues[i].caption, "Ctrl+" + std::to_string(i + 1),
                     Check::Box,      static_cast<int>(i)};
        cue.separatorBefore = i == 0;
        items.push_back(cue);
    }
    addDynamicsItems(items);
    items.push_back({Command::LawEditor, "lawEditor", N_("Your Law..."), "F4"});
    items.push_back({Command::Challenges, "challenges", N_("Challenges..."), "F3"});
    MenuItem projector{Command::Projector, "projector", N_("Pro&jector Mode"), "F8", Check::Box};
    projector.separatorBefore = true;
    items.push_back(projector);
    items.push_back(
        {Command::HighContrast, "highContrast", N_("&High Contrast"), "Ctrl+H", Check::Box});
    // No letter of it is free in the Lab menu: like the sound's items, it goes without one.
    items.push_back(
        {Command::TrueProportions, "trueProportions", N_("True Proportions"), "", Check::Box});
    addSoundItems(items);
    MenuItem reset{Command::Reset, "reset", N_("&Reset"), "Ctrl+R"};
    reset.separatorBefore = true;
    items.push_back(reset);
    MenuItem record{Command::Record, "record", N_("Re&cord"), ""};
    record.separatorBefore = true;
    items.push_back(record);
    items.push_back({Command::PlayRecording, "playRecording", N_("Pla&y Recording..."), ""});
    MenuItem save{Command::SaveExperiment, "saveExperiment", N_("Sa&ve Experiment..."), "Ctrl+S"};
    save.edition = Edition::Desktop;
    items.push_back(save);
    MenuItem open{Command::OpenExperiment, "openExperiment", N_("Open Experime&nt..."), "Ctrl+O"};
    open.edition = Edition::Desktop;
    items.push_back(open);
    MenuItem link{Command::CopyLink, "copyLink", N_("Copy &Link"), ""};
    link.edition = Edition::Page;
    items.push_back(link);
    for (auto [command, name, caption] :
         {std::tuple{Command::ExportPlotData, "exportPlotData", N_("Export Plot Data...")},
          std::tuple{Command::ExportPicture, "exportPicture", N_("Export Picture...")}}) {
        MenuItem exported{command, name, caption, ""};
        exported.submenu = N_("E&xport");
        items.push_back(exported);
    }
    // Each language by its own name, whatever the language now.
    for (std::size_t i = 0; i < languages().size(); ++i) {
        MenuItem language{Command::Language, "language",         languages()[i].name, "",
                          Check::Radio,      static_cast<int>(i)};
        language.separatorBefore = i == 0;
        language.submenu = N_("Language");
        items.push_back(language);
    }
    MenuItem describe{Command::Describe, "describe", N_("Descr&ibe State"), "Ctrl+D"};
    describe.separatorBefore = true;
    items.push_back(describe);
    items.push_back({Command::Keys, "keys", N_("&Keys..."), "Ctrl+K"});
    return items;
}

std::string gainCaption(double gain) {
    // Translators: the Lab menu's read-out of the gain, as "Gain: 1.5".
    return filled(tr("Gain: %s"), {formatFixed(gain, 1)});
}

} // namespace

const std::vector<MenuItem>& menuBarItems() {
    static const std::vector<MenuItem> items = buildMenuBar();
    return items;
}

const std::vector<MenuItem>& labMenuItems() {
    static const std::vector<MenuItem> items = buildLabMenu();
    return items;
}

const MenuItem& menuItem(Command command, int index) {
    for (const auto* items : {&menuBarItems(), &labMenuItems()}) {
        for (const MenuItem& item : *items) {
            if (item.command == command && item.index == index) {
                return item;
            }
        }
    }
    throw std::out_of_range("no such menu item");
}

ItemState itemState(const MenuItem& item, const Lab& lab, bool labPanelOpen) {
    const LabSettings& settings = lab.settings();
    ItemState shown{false, true, item.caption};
    switch (item.command) {
    case Command::LabPanel:
        shown.checked = labPanelOpen;
        break;
    case Command::Speed:
        shown.checked = settings.speed == item.index;
        break;
    case Command::Slower:
        shown.enabled = settings.speed > 0;
        break;
    case Command::Faster:
        shown.enabled = settings.speed + 1 < static_cast<int>(Speeds.size());
        break;
    case Command::GainShown:
        shown.enabled = false;
        shown.caption = gainCaption(lab.gain());
        break;
    case Command::Cue:
        shown.checked = settings.cues.*Cues[static_cast<std::size_t>(item.index)].setting;
        break;
    case Command::Projector:
        shown.checked = settings.projector;
        break;
    case Command::HighContrast:
        shown.checked = settings.highContrast;
        break;
    case Command::TrueProportions:
        shown.checked = settings.trueProportions;
        break;
    case Command::Sound:
        shown.checked = settings.sound;
        break;
    case Command::Voicing:
        shown.checked = settings.voicing;
        break;
    case Command::Volume:
        shown.checked = settings.volume == item.index;
        break;
    case Command::Dynamics:
        shown.checked = lab.simulation().state().dynamics.on;
        break;
    case Command::MotorLaw:
        shown.checked = static_cast<int>(lab.simulation().state().dynamics.motorLaw) == item.index;
        break;
    case Command::Language:
        shown.checked = std::string_view(languageCode()) ==
                        languages()[static_cast<std::size_t>(item.index)].code;
        break;
    default:
        break;
    }
    return shown;
}

// The menu bar's items that act on the simulation alone (Run, Panic/Stop, Grid). `yield` is
// the grid's.
static void performOnSimulation(const MenuItem& item, SimulationState& state,
                                DrawingSurface& surface, const std::function<void()>& yield) {
    switch (item.command) {
    case Command::Run:
        runClicked(state);
        break;
    case Command::Stop:
        stopClicked(state);
        break;
    case Command::Grid:
        gridMenuClicked(state, surface, yield);
        break;
    default:
        break;
    }
}

void perform(const MenuItem& item, Lab& lab) {
    Simulation& simulation = lab.simulation();
    SimulationState& state = simulation.state();
    switch (item.command) {
    case Command::Run:
    case Command::Stop:
    case Command::Grid:
        performOnSimulation(item, state, simulation.surface(), simulation.yieldHook());
        break;
    case Command::Speed:
        lab.setSpeed(item.index);
        break;
    case Command::Slower:
        lab.slower();
        break;
    case Command::Faster:
        lab.faster();
        break;
    case Command::Step:
        stepClicked(state);
        break;
    case Command::GainUp:
        gainEntered(state, state.gain + GainStep);
        break;
    case Command::GainDown:
        gainEntered(state, state.gain - GainStep);
        break;
    case Command::Cue: {
        bool& on = lab.settings().cues.*Cues[static_cast<std::size_t>(item.index)].setting;
        on = !on;
        break;
    }
    case Command::Projector:
        lab.settings().projector = !lab.settings().projector;
        break;
    case Command::HighContrast:
        lab.settings().highContrast = !lab.settings().highContrast;
        break;
    case Command::TrueProportions:
        lab.settings().trueProportions = !lab.settings().trueProportions;
        break;
    case Command::Sound:
        lab.settings().sound = !lab.settings().sound;
        break;
    case Command::Voicing:
        lab.settings().voicing = !lab.settings().voicing;
        break;
    case Command::Volume:
        lab.settings().volume = item.index;
        break;
    case Command::Dynamics:
        dynamicsSwitched(state, !state.dynamics.on);
        break;
    case Command::MotorLaw:
        motorLawChosen(state, motorLaws()[static_cast<std::size_t>(item.index)].law);
        break;
    case Command::Reset:
        lab.reset();
        break;
    case Command::Language:
        setLanguage(languages()[static_cast<std::size_t>(item.index)].code);
        break;
    default: // the caption, and the front end's own commands
        break;
    }
}

bool shownIn(const MenuItem& item, Edition edition) {
    return item.edition == Edition::Both || item.edition == edition;
}

std::string itemWord(const MenuItem& item) {
    const bool shared = item.command == Command::Speed || item.command == Command::Cue ||
                        item.command == Command::Language || item.command == Command::Volume ||
                        item.command == Command::MotorLaw;
    return shared ? item.name + std::to_string(item.index) : item.name;
}

const MenuItem* itemOfWord(const std::string& word) {
    for (const auto* items : {&menuBarItems(), &labMenuItems()}) {
        for (const MenuItem& item : *items) {
            if (itemWord(item) == word) {
                return &item;
            }
        }
    }
    return nullptr;
}

bool isFrontEndCommand(Command command) {
    switch (command) {
    case Command::About:
    case Command::Quit:
    case Command::LabPanel:
    case Command::Describe:
    case Command::Keys:
    case Command::Record:
    case Command::PlayRecording:
    case Command::SaveExperiment:
    case Command::OpenExperiment:
    case Command::CopyLink:
    case Command::ExportPlotData:
    case Command::ExportPicture:
    case Command::LawEditor:
    case Command::Challenges:
        return true;
    default:
        return false;
    }
}

std::vector<KeyHelpRow> keyHelp(Edition edition) {
    std::vector<KeyHelpRow> rows;
    for (const auto* items : {&menuBarItems(), &labMenuItems()}) {
        for (const MenuItem& item : *items) {
            if (!item.keys.empty() && shownIn(item, edition)) {
                std::string what = plainCaption(tr(item.caption));
                if (what.size() > 3 && what.compare(what.size() - 3, 3, "...") == 0) {
                    what.resize(what.size() - 3);
                }
                rows.push_back({item.keys, what});
            }
        }
    }
    const auto step = static_cast<long>(TargetKeyStep);
    const auto fineStep = static_cast<long>(TargetKeyFineStep);
    rows.push_back({tr(TargetKeysHelp),
                    filled(trn("move the target %s unit (the picture has the focus)",
                               "move the target %s units (the picture has the focus)", step),
                           {std::to_string(step)})});
    rows.push_back({tr(FineTargetKeysHelp),
                    filled(trn("move the target %s unit", "move the target %s units", fineStep),
                           {std::to_string(fineStep)})});
    rows.push_back({tr(HomeTargetKeyHelp), tr("the target back where it started")});
    rows.push_back({tr("Alt+underlined letter"), tr("a menu of the menu bar")});
    rows.push_back({tr("Tab, Shift+Tab"), tr("the controls in turn, the picture after them")});
    return rows;
}

std::string plainCaption(const std::string& caption) {
    std::string plain;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i; // "&&" stands for a plain '&'
        }
        plain += caption[i];
    }
    return plain;
}

std::string mnemonicOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto first = static_cast<unsigned char>(caption[i + 1]);
        if (first < 0x80) {
            return std::string(1, static_cast<char>(std::tolower(first)));
        }
        // A two-byte UTF-8 letter: Latin-1 and Cyrillic capitals have their small letter 0x20
        // (Ё: 0x50) further on.
        if (i + 2 >= caption.size()) {
            return {};
        }
        unsigned code =
            ((first & 0x1Fu) << 6) | (static_cast<unsigned char>(caption[i + 2]) & 0x3Fu);
        if ((code >= 0xC0 && code <= 0xDE && code != 0xD7) || (code >= 0x410 && code <= 0x42F)) {
            code += 0x20;
        } else if (code >= 0x400 && code <= 0x40F) {
            code += 0x50;
        }
        return {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    }
    return {};
}

} // namespace servo
