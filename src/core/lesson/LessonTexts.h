#pragma once

namespace servo {

// What the front ends say about experiments, recordings and exports: dialog titles, file
// kinds, suggested file names, messages and what a screen reader hears.

inline constexpr const char* SaveExperimentTitle = "Save Experiment";
inline constexpr const char* OpenExperimentTitle = "Open Experiment";
inline constexpr const char* SaveRecordingTitle = "Save Recording";
inline constexpr const char* PlayRecordingTitle = "Play Recording";
inline constexpr const char* ExportPlotDataTitle = "Export Plot Data";
inline constexpr const char* ExportPictureTitle = "Export Picture";
inline constexpr const char* CopyLinkTitle = "Copy Link";

inline constexpr const char* ExperimentFileKind = "Experiments";
inline constexpr const char* RecordingFileKind = "Recordings";
inline constexpr const char* PlotDataFileKind = "CSV files";
inline constexpr const char* PictureFileKind = "PNG pictures";

inline constexpr const char* ExperimentFileName = "experiment.servo";
inline constexpr const char* RecordingFileName = "lesson.servo-trace";
inline constexpr const char* PlotDataFileName = "plot-data.csv";
inline constexpr const char* PictureFileName = "picture.png";

// "<what> <path>: <why>"
inline constexpr const char* CannotReadText = "Cannot read";
inline constexpr const char* CannotWriteText = "Cannot write";
inline constexpr const char* NothingWrittenText = "Nothing was written.";
inline constexpr const char* ExperimentRefusedText =
    "This experiment cannot be opened; the simulation goes on as it was.";
inline constexpr const char* LinkRefusedText =
    "The experiment in this link cannot be opened; the simulator starts as usual.";
inline constexpr const char* RecordingRefusedText = "This recording cannot be played.";
inline constexpr const char* LinkCopiedText = "The link to this experiment is on the clipboard:";
inline constexpr const char* LinkNotCopiedText =
    "The link to this experiment is in the address bar (the clipboard could not be reached):";

inline constexpr const char* RecordingStartedAnnouncement = "Recording from a reset.";
inline constexpr const char* RecordingStoppedAnnouncement = "Recording stopped.";
inline constexpr const char* ReplayStartedAnnouncement =
    "Replaying a recording; your own input waits until it ends or Panic/Stop ends it.";
inline constexpr const char* ReplayEndedAnnouncement = "The replay has ended.";
inline constexpr const char* ExperimentOpenedAnnouncement = "Experiment opened.";
// What the status shows while a replay plays: "Replaying: N steps to go"
inline constexpr const char* ReplayingStatus = "Replaying";
inline constexpr const char* RecordingStatus = "Recording";

// The largest experiment or recording file read (bytes): far more than any lesson needs.
inline constexpr long long MaxLessonFileBytes = 64LL * 1024 * 1024;

} // namespace servo
