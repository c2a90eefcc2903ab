// What the parts of the machine tell each other; none of it is for the areas above the machine.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "machine/machine.h"

namespace machine::detail {

// Each part back to its start state (control::Reset runs them all through ResetMachineState).
void ResetInput();
void ResetMessageBoxes();
void ResetDisplays();
void ResetFrames();
void ResetWaiting();
void ResetObjectLedger();
// Every kind of handle the ledger has seen, with how many are still held.
std::vector<std::pair<std::string, int64_t>> LedgerEntries();
void ResetRunSettings();
void ResetReportFields();
void ResetFailures();

// Failure injection: failures scheduled for a frame are armed once it has been presented.
void ArmDueFailures();

// Run settings the other parts read.
uint64_t FrameLimit();
void MarkCloseRequested();
const std::string& ReportPath();

// Frames: the capture settings and what was written. At the run's end: writes last.png when no frame
// was listed, names the listed frames never captured on standard error, and answers false when a
// capture could not be written.
bool FinishCapture();
// "frame 7 <one>" or "frames 7, 8 and 9 <several>".
std::string FrameNumbers(const std::vector<uint64_t>& frames, const char* one, const char* several);
std::vector<std::string> CapturedFileList();
// The processor seconds the process spent in each whole window of kFrameWindow presented frames.
constexpr uint64_t kFrameWindow = 100;
std::vector<double> FrameWindowCpuSeconds();

// Message boxes: every box shown, in order.
const std::vector<MessageBoxRecord>& MessageBoxList();

// The headless backend: how a box is shown (standard error) and which backend a name chooses.
void ShowBoxOnHeadlessDisplay(const MessageBoxRecord& box);
bool ChooseBackend(const std::string& name, std::string& error);

// Real seconds since the run clock started.
double RunSeconds();

}  // namespace machine::detail
