// The smartphone import dialog's procedure: moves data between the controls and
// SmartphoneImportModel.
#include "app/smartphone_import_dialog_win32.h"

#include <cstdio>
#include <memory>

#include "app/smartphone_import.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

using ImportDialogData = dialog::ModalData<SmartphoneImportModel>;

BOOL OnInit(HWND window, ImportDialogData& data) {
  const SmartphoneImportModel& model = data.model;
  data.fonts.Apply(window, {IDC_IMPORT_HEADING, IDC_IMPORT_PHONE_HEADING, IDC_IMPORT_PC_HEADING,
                            IDC_IMPORT_LANE_HEADING});
  for (int k = 1; k <= kImportLaneCount; ++k) {
    char number[16];
    std::snprintf(number, sizeof number, TXT_IMPORT_LANE_NUMBER, k);
    dialog::SetItemText(window, IDC_IMPORT_LANE_NUMBER_FIRST + k - 1, number);
    dialog::SetItemText(window, IDC_IMPORT_PHONE_NAME_FIRST + k - 1, LaneDriverName(model, k));
    // The lists are sorted by the control itself.
    for (int d = 0; d < model.databaseCount; ++d) {
      dialog::ComboAdd(window, IDC_IMPORT_PC_DRIVER_FIRST + k - 1, model.database->names[d]);
    }
    if (!model.laneVisible[k - 1]) {
      for (int first : {IDC_IMPORT_PHONE_NAME_FIRST, IDC_IMPORT_PC_DRIVER_FIRST,
                        IDC_IMPORT_LANE_NUMBER_FIRST, IDC_IMPORT_ARROW_FIRST}) {
        dialog::ShowItem(window, first + k - 1, false);
      }
    }
  }
  return TRUE;
}

void OnCommand(HWND window, ImportDialogData& data, int id, int code) {
  const int lane = id - IDC_IMPORT_PC_DRIVER_FIRST + 1;
  if (code != CBN_SELCHANGE || lane < 1 || lane > kImportLaneCount) return;
  ChooseLaneDriver(data.model, lane, dialog::ComboSelectedText(window, id).c_str());
}

}  // namespace

bool RunSmartphoneImportDialog(HWND owner, MessageBoxes& boxes) {
  auto model = std::make_unique<SmartphoneImportModel>();
  if (!OpenSmartphoneImport(*model, boxes)) return false;
  dialog::RunModal<SmartphoneImportModel, OnInit, OnCommand, ConfirmSmartphoneImport>(
      owner, L"IMPORTSMARTPHONE", boxes, *model);
  return true;
}

}  // namespace zarvo
