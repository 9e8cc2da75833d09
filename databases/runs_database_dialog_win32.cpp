// The runs database dialog's procedure: moves data between the controls and
// RunsDatabaseDialogModel, paints the filling gauge and asks for a chosen run to be shown.
#include "databases/runs_database_dialog_win32.h"

#include <memory>
#include <string>

#include "databases/runs_database_dialog.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

struct RunsDialogExtra {
  std::string folder;  // the working directory at opening, restored at closing
};

struct RunsDialogState {
  RunsDatabaseDialogModel model;
  ArchivedRunOpener openRun = nullptr;
};

using RunsDialogData = dialog::ModalData<RunsDialogState, RunsDialogExtra>;

// Where the gauge's text is painted; repainted whenever the level may have changed.
RECT GaugeRect() {
  return RECT{kGaugeX, kGaugeY, kGaugeX + 180, kGaugeY + kGaugeFontHeight + 4};
}

void ShowDriver(HWND window, const RunsDatabaseDialogModel& model) {
  const bool chosen = model.selectedDriver >= 0;
  const char* name = chosen ? model.drivers.names[model.selectedDriver] : "";
  dialog::ListBoxClear(window, IDC_RUNSDB_NUMBER);
  if (chosen)
    dialog::ListBoxAdd(window, IDC_RUNSDB_NUMBER, std::to_string(model.selectedDriver + 1).c_str());
  dialog::SetItemText(window, IDC_RUNSDB_NAME, name);
  dialog::SetItemText(window, IDC_RUNSDB_RUNS_NAME, name);
  dialog::CheckItem(window, IDC_RUNSDB_ARCHIVING, model.listing.archivingOn);
  SendDlgItemMessageW(window, IDC_RUNSDB_RUNS, CB_RESETCONTENT, 0, 0);
  for (const std::string& entry : model.listing.entries)
    dialog::ComboAdd(window, IDC_RUNSDB_RUNS, entry.c_str());
  const RECT gauge = GaugeRect();
  InvalidateRect(window, &gauge, TRUE);
}

std::string ChosenRun(HWND window) {
  const int index = dialog::ComboSelection(window, IDC_RUNSDB_RUNS);
  if (index < 0) return std::string();
  HWND combo = GetDlgItem(window, IDC_RUNSDB_RUNS);
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  if (length <= 0 || length > 1000) return std::string();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  return dialog::Narrow(text.c_str());
}

// Selects the run of that title in the list again, when the list still holds it.
void ChooseAgain(HWND window, const std::string& title) {
  HWND combo = GetDlgItem(window, IDC_RUNSDB_RUNS);
  const std::wstring wide = dialog::Wide(title.c_str());
  const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(wide.c_str()));
  if (index > 0) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

BOOL OnInit(HWND window, RunsDialogData& data) {
  data.extra.folder = CurrentFolder();
  data.fonts.Apply(window, {IDC_RUNSDB_TITLE, IDC_RUNSDB_DRIVERS_LABEL, IDC_RUNSDB_NAME,
                            IDC_RUNSDB_SAVED_FOR, IDC_RUNSDB_RUNS_NAME});
  RunsDatabaseDialogModel& model = data.model.model;
  OpenRunsDatabaseDialog(model, *data.boxes);
  for (int i = 0; i < model.driverCount; ++i)
    dialog::ListBoxAdd(window, IDC_RUNSDB_DRIVERS, model.drivers.names[i]);
  if (model.selectedDriver >= 0)
    dialog::ListBoxSelect(window, IDC_RUNSDB_DRIVERS, model.selectedDriver);
  ShowDriver(window, model);
  return TRUE;
}

void OnCommand(HWND window, RunsDialogData& data, int id, int code) {
  RunsDatabaseDialogModel& model = data.model.model;
  switch (id) {
    case IDOK:
      EndDialog(window, IDOK);
      break;
    case IDC_RUNSDB_DRIVERS:
      if (code == LBN_SELCHANGE) {
        SelectRunsDriver(model, dialog::ListBoxSelection(window, IDC_RUNSDB_DRIVERS), *data.boxes);
        ShowDriver(window, model);
      }
      break;
    case IDC_RUNSDB_ARCHIVING:
      if (code == BN_CLICKED) {
        const bool wanted = IsDlgButtonChecked(window, IDC_RUNSDB_ARCHIVING) == BST_CHECKED;
        dialog::CheckItem(window, IDC_RUNSDB_ARCHIVING,
                          SetRunsArchiving(model, wanted, *data.boxes));
      }
      break;
    case IDC_RUNSDB_RUNS:
      if (code == CBN_SELCHANGE) {
        const std::string title = ChosenRun(window);
        if (ChooseArchivedRun(model, title, *data.boxes) &&
            data.model.openRun(window, model.runsPath.c_str(), title.c_str(), *data.boxes)) {
          // The run stays chosen for "Remove the run", whatever the list did meanwhile.
          ChooseAgain(window, title);
        } else if (!model.runsListed) {
          ShowDriver(window, model);
        }
      }
      break;
    case IDC_RUNSDB_REMOVE:
      if (code == BN_CLICKED) {
        const std::string title = ChosenRun(window);
        if (!title.empty()) {
          RemoveChosenRun(model, title, *data.boxes);
          ShowDriver(window, model);
          ChooseAgain(window, title);  // after "No" the run is still there and still chosen
        }
      }
      break;
    default:
      break;
  }
}

bool OnMessage(HWND window, RunsDialogData& data, UINT message, WPARAM, LPARAM, INT_PTR& result) {
  if (message != WM_PAINT) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  const FillingGauge gauge = MakeFillingGauge(data.model.model.level);
  HFONT font = CreateFontW(kGaugeFontHeight, 0, 0, 0, kGaugeFontWeight, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, gauge.colour);
  const std::wstring text = dialog::Wide(gauge.text);
  TextOutW(dc, kGaugeX, kGaugeY, text.c_str(), static_cast<int>(text.size()));
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(window, &ps);
  result = TRUE;
  return true;
}

}  // namespace

void RunRunsDatabaseDialog(HWND owner, MessageBoxes& boxes, ArchivedRunOpener openRun) {
  auto state = std::make_unique<RunsDialogState>();
  state->openRun = openRun;
  const std::string folder = CurrentFolder();
  dialog::RunModal<RunsDialogState, OnInit, OnCommand, nullptr, OnMessage, RunsDialogExtra>(
      owner, L"BASERESULTATS", boxes, *state);
  SetCurrentFolder(folder.c_str());
}

}  // namespace zarvo
