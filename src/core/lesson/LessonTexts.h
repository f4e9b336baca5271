#pragma once

#include "core/language/Translation.h"

#include <string>

namespace servo {

// What the front ends say about experiments, recordings and exports: dialog titles, file
// kinds, suggested file names, messages and what a screen reader hears.

inline constexpr const char* SaveExperimentTitle = N_("Save Experiment");
inline constexpr const char* OpenExperimentTitle = N_("Open Experiment");
inline constexpr const char* SaveRecordingTitle = N_("Save Recording");
inline constexpr const char* PlayRecordingTitle = N_("Play Recording");
inline constexpr const char* ExportPlotDataTitle = N_("Export Plot Data");
inline constexpr const char* ExportPictureTitle = N_("Export Picture");
inline constexpr const char* CopyLinkTitle = N_("Copy Link");

inline constexpr const char* ExperimentFileKind = N_("Experiments");
inline constexpr const char* RecordingFileKind = N_("Recordings");
inline constexpr const char* PlotDataFileKind = N_("CSV files");
inline constexpr const char* PictureFileKind = N_("PNG pictures");

inline constexpr const char* ExperimentFileName = "experiment.servo";
inline constexpr const char* RecordingFileName = "lesson.servo-trace";
inline constexpr const char* PlotDataFileName = "plot-data.csv";
inline constexpr const char* PictureFileName = "picture.png";

// "<what> <path>: <why>"
inline constexpr const char* CannotReadText = N_("Cannot read");
inline constexpr const char* CannotWriteText = N_("Cannot write");
inline constexpr const char* NothingWrittenText = N_("Nothing was written.");
inline constexpr const char* ExperimentRefusedText =
    N_("This experiment cannot be opened; the simulation goes on as it was.");
inline constexpr const char* LinkRefusedText =
    N_("The experiment in this link cannot be opened; the simulator starts as usual.");
inline constexpr const char* RecordingRefusedText = N_("This recording cannot be played.");
// Why an input was refused (see Lesson::submit).
inline constexpr const char* InputWhilePlayingText =
    N_("A recording plays: the input is ignored until it ends.");
inline constexpr const char* LinkCopiedText =
    N_("The link to this experiment is on the clipboard:");
inline constexpr const char* LinkNotCopiedText =
    N_("The link to this experiment is in the address bar (the clipboard could not be reached):");

inline constexpr const char* RecordingStartedAnnouncement = N_("Recording from a reset.");
inline constexpr const char* RecordingStoppedAnnouncement = N_("Recording stopped.");
inline constexpr const char* ReplayStartedAnnouncement =
    N_("Replaying a recording; your own input waits until it ends or Panic/Stop ends it.");
inline constexpr const char* ReplayEndedAnnouncement = N_("The replay has ended.");
inline constexpr const char* ExperimentOpenedAnnouncement = N_("Experiment opened.");
inline constexpr const char* RecordingStatus = N_("Recording");

// Why a lesson's file or link is refused before it is read.
inline constexpr const char* LargerThanText = N_("larger than %s MB");
inline constexpr const char* LongerThanText = N_("longer than %s characters");
inline constexpr const char* LinkVersionUnknownText =
    N_("this link was made for version %s of the simulator's links; this simulator reads v=1");
inline constexpr const char* ReplayHoldsInputText =
    N_("a recording is playing: press Panic/Stop (Esc) to end it, then open the experiment again");
inline constexpr const char* NotARegularFileText = N_("not a regular file");

// The largest texts read (bytes): far more than any lesson needs, small enough that reading
// one keeps the program responsive. A recording of a whole lesson of dragging holds about
// 2 KB a second.
inline constexpr long long MaxExperimentBytes = 1024LL * 1024;
inline constexpr long long MaxRecordingBytes = 16LL * 1024 * 1024;
inline constexpr long long MaxLinkBytes = 64LL * 1024;
// The longest line of a script or an experiment.
inline constexpr long long MaxScriptLineBytes = 64LL * 1024;

// "larger than 16 MB" for a limit of whole megabytes, in the language chosen.
std::string largerThan(long long bytes);

} // namespace servo
