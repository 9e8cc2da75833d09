// The runs database dialog's rules (see runs_database_dialog.h).
#include "databases/runs_database_dialog.h"

#include <cstdio>
#include <cstring>

#include "databases/database_files.h"
#include "databases/driver_names.h"
#include "platform/files.h"
#include "text/catalogue.h"

namespace zarvo {

namespace {

// A runs file holds a header and at most a few hundred slots of 10,212 bytes; anything far larger
// is not a runs file and is not read into memory.
constexpr size_t kMaxRunsFileBytes = size_t(kRunSlotLength) * 1000;

void ShowError(MessageBoxes& boxes, const char* text) {
  boxes.Show(TXT_CAPTION_ERROR, text, MessageIcon::kError);
}

void ClearListing(RunsDatabaseDialogModel& model) {
  model.runsListed = false;
  model.listing = RunsListing();
  model.listing.entries.assign(1, std::string());
  model.level = 0;
}

// Lists the selected driver's runs again; false (and the message) when the file cannot be read.
bool ListSelectedRuns(RunsDatabaseDialogModel& model, MessageBoxes& boxes) {
  ClearListing(model);
  if (model.runsPath.empty() ||
      ListRuns(model.runsPath.c_str(), model.listing) != RunsFileResult::kDone) {
    ClearListing(model);
    ShowError(boxes, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
    return false;
  }
  model.runsListed = true;
  model.level = FillingLevel(model.listing);
  return true;
}

}  // namespace

FillingGauge MakeFillingGauge(int level) {
  FillingGauge gauge;
  std::memset(&gauge, 0, sizeof gauge);
  if (level < 80) {
    gauge.colour = MakeColour(0, 200, 0);
  } else if (level < 99) {
    gauge.colour = MakeColour(250, 150, 0);
  } else {
    gauge.colour = MakeColour(200, 0, 0);
  }
  std::snprintf(gauge.text, sizeof gauge.text,
                level < 99 ? TXT_RUNS_DIALOG_GAUGE : TXT_RUNS_DIALOG_GAUGE_FULL, level, '%');
  return gauge;
}

void OpenRunsDatabaseDialog(RunsDatabaseDialogModel& model, MessageBoxes& boxes) {
  std::memset(&model.drivers, 0, sizeof model.drivers);
  model.driverCount = 0;
  model.selectedDriver = -1;
  model.runsPath.clear();
  ClearListing(model);
  if (!ReadDriverNames(model.drivers)) {
    ShowError(boxes, TXT_DRIVERS_FILE_NOT_FOUND);
    return;
  }
  while (model.driverCount < kDriverCapacity && model.drivers.names[model.driverCount][0] != '\0')
    ++model.driverCount;
  if (model.driverCount > 0) SelectRunsDriver(model, 0, boxes);
}

void SelectRunsDriver(RunsDatabaseDialogModel& model, int index, MessageBoxes& boxes) {
  if (index < 0 || index >= model.driverCount) return;
  model.selectedDriver = index;
  model.runsPath = RunsDatabasePath(model.drivers.names[index]);
  ListSelectedRuns(model, boxes);
}

bool SetRunsArchiving(RunsDatabaseDialogModel& model, bool on, MessageBoxes& boxes) {
  if (model.selectedDriver < 0 || !model.runsListed) return false;
  if (SetArchivingFlag(model.runsPath.c_str(), on) != RunsFileResult::kDone) {
    // The file vanished or cannot be written: show what it holds now.
    ListSelectedRuns(model, boxes);
    return model.listing.archivingOn;
  }
  model.listing.archivingOn = on;
  return on;
}

bool TitleNamesOneRun(const char* path, const std::string& title) {
  if (title.empty() || title.size() > size_t(kRunKeyLength) || title == kFreeSlotKey) return false;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxRunsFileBytes)) return false;
  const RunsFileIndex index = IndexRunsFile(bytes);
  int matches = 0;
  for (const RunsFileLine& line : index.slots) {
    const std::string_view content(bytes.data() + line.offset, line.length);
    const std::string_view field = content.substr(0, content.find('\t'));
    if (field == title) ++matches;
  }
  return matches == 1;
}

bool ChooseArchivedRun(RunsDatabaseDialogModel& model, const std::string& title,
                       MessageBoxes& boxes) {
  if (title.empty() || model.selectedDriver < 0) return false;
  if (!FileExists(model.runsPath.c_str())) {
    ShowError(boxes, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
    ClearListing(model);  // the file is gone: no run left to show
    return false;
  }
  if (!TitleNamesOneRun(model.runsPath.c_str(), title)) {
    ShowError(boxes, TXT_RUN_TO_READ_NOT_FOUND);
    return false;
  }
  return true;
}

bool RemoveChosenRun(RunsDatabaseDialogModel& model, const std::string& title,
                     MessageBoxes& boxes) {
  if (title.empty() || model.selectedDriver < 0) return false;
  if (boxes.Ask(TXT_CAPTION_REMOVE_RUN, TXT_REMOVE_RUN_QUESTION, QuestionButtons::kYesNo) !=
      Answer::kYes)
    return false;
  const char* path = model.runsPath.c_str();
  if (!FileExists(path)) {
    ShowError(boxes, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
    ClearListing(model);  // the file is gone: no run left to show
    return false;
  }
  // Only a title that names one whole slot is removed: a damaged or doubled title would let the
  // 104-character key reach another run.
  if (!TitleNamesOneRun(path, title)) {
    boxes.Show(TXT_CAPTION_ERROR, TXT_RUN_TO_REMOVE_NOT_FOUND, MessageIcon::kError);
    ListSelectedRuns(model, boxes);
    return false;
  }
  const RunsFileResult removed = RemoveRun(path, title.c_str(), boxes);
  if (removed == RunsFileResult::kFileNotOpened)
    ShowError(boxes, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
  if (!ListSelectedRuns(model, boxes)) return removed == RunsFileResult::kDone;
  if (model.level <= 99 && model.listing.archiveFull) {
    if (ClearFullFlag(path) == RunsFileResult::kDone) {
      model.listing.archiveFull = false;
    } else {
      ShowError(boxes, TXT_RUNS_DIALOG_RUNS_FILE_NOT_FOUND);
    }
  }
  return removed == RunsFileResult::kDone;
}

}  // namespace zarvo
