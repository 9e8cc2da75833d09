// The runs database dialog's procedure: moves data between the controls and
// RunsDatabaseDialogModel, paints the filling gauge and opens the run detail window.
#include "databases/runs_database_dialog_win32.h"

#include <memory>
#include <string>

#include "analysis/run_window_win32.h"
#include "app/dialog_controls_win32.h"
#include "databases/runs_database_dialog.h"
#include "platform/files.h"
#include "resources/resource_ids.h"

namespace zarvo {

namespace {

struct RunsDialogExtra {
  std::string folder;  // the working directory at opening, restored at closing
};

using RunsDialogData = dialog::ModalData<RunsDatabaseDialogModel, RunsDialogExtra>;

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

BOOL OnInit(HWND window, RunsDialogData& data) {
  data.extra.folder = CurrentFolder();
  data.fonts.Apply(window, {IDC_RUNSDB_TITLE, IDC_RUNSDB_DRIVERS_LABEL, IDC_RUNSDB_NAME,
                            IDC_RUNSDB_SAVED_FOR, IDC_RUNSDB_RUNS_NAME});
  OpenRunsDatabaseDialog(data.model, *data.boxes);
  for (int i = 0; i < data.model.driverCount; ++i)
    dialog::ListBoxAdd(window, IDC_RUNSDB_DRIVERS, data.model.drivers.names[i]);
  if (data.model.selectedDriver >= 0)
    dialog::ListBoxSelect(window, IDC_RUNSDB_DRIVERS, data.model.selectedDriver);
  ShowDriver(window, data.model);
  return TRUE;
}

void OnCommand(HWND window, RunsDialogData& data, int id, int code) {
  RunsDatabaseDialogModel& model = data.model;
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
        if (ChooseArchivedRun(model, title, *data.boxes)) {
          RunArchivedRunWindow(window, *data.boxes);
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
  const FillingGauge gauge = MakeFillingGauge(data.model.level);
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

void RunRunsDatabaseDialog(HWND owner, MessageBoxes& boxes) {
  auto model = std::make_unique<RunsDatabaseDialogModel>();
  const std::string folder = CurrentFolder();
  dialog::RunModal<RunsDatabaseDialogModel, OnInit, OnCommand, nullptr, OnMessage, RunsDialogExtra>(
      owner, L"BASERESULTATS", boxes, *model);
  SetCurrentFolder(folder.c_str());
}

}  // namespace zarvo
