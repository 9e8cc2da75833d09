// The database editors' procedure: moves data between each editor's controls and
// DatabaseEditorModel, and draws the selected record's picture.
#include "databases/database_editor_win32.h"

#include <commdlg.h>
#include <windowsx.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "ui/dialog_controls_win32.h"

namespace zarvo {

namespace {

// The common controls of one editor's template; 0 where the editor has none.
struct EditorControls {
  const wchar_t* templateName;
  int add, remove, number, list, newBox, name, title, listLabel;
};

const EditorControls& ControlsOf(EditorKind kind) {
  static const EditorControls circuits = {
      L"BASECIRCUITS",     IDC_CIRCUITS_ADD,   IDC_CIRCUITS_REMOVE,
      IDC_CIRCUITS_NUMBER, IDC_CIRCUITS_LIST,  IDC_CIRCUITS_NEW,
      IDC_CIRCUITS_NAME,   IDC_CIRCUITS_TITLE, IDC_CIRCUITS_LIST_LABEL};
  static const EditorControls frequencies = {L"BASEFREQUENCIES",
                                             IDC_FREQUENCIES_ADD,
                                             IDC_FREQUENCIES_REMOVE,
                                             IDC_FREQUENCIES_NUMBER,
                                             IDC_FREQUENCIES_LIST,
                                             IDC_FREQUENCIES_NEW,
                                             0,
                                             IDC_FREQUENCIES_TITLE,
                                             IDC_FREQUENCIES_LIST_LABEL};
  static const EditorControls drivers = {
      L"BASEPILOTES",     IDC_DRIVERS_ADD,   IDC_DRIVERS_REMOVE,
      IDC_DRIVERS_NUMBER, IDC_DRIVERS_LIST,  IDC_DRIVERS_NEW,
      IDC_DRIVERS_NAME,   IDC_DRIVERS_TITLE, IDC_DRIVERS_LIST_LABEL};
  static const EditorControls cars = {L"BASEVOITURES", IDC_CARS_ADD,   IDC_CARS_REMOVE,
                                      IDC_CARS_NUMBER, IDC_CARS_LIST,  IDC_CARS_NEW,
                                      IDC_CARS_NAME,   IDC_CARS_TITLE, IDC_CARS_LIST_LABEL};
  switch (kind) {
    case EditorKind::kCircuits:
      return circuits;
    case EditorKind::kFrequencies:
      return frequencies;
    case EditorKind::kDrivers:
      return drivers;
    case EditorKind::kCars:
      break;
  }
  return cars;
}

struct EditorWindowState {
  // Set while the boxes are filled from the model: their change notifications then store
  // nothing (a box showing a record must not rewrite it).
  bool filling = false;
};

using EditorData = dialog::ModalData<DatabaseEditorModel, EditorWindowState>;

// The text of the combo box's selected entry; empty when none.
std::string ComboText(HWND window, int id) {
  const int k = dialog::ComboSelection(window, id);
  if (k < 0) return std::string();
  const LRESULT length = SendDlgItemMessageW(window, id, CB_GETLBTEXTLEN, WPARAM(k), 0);
  if (length < 0) return std::string();
  std::vector<wchar_t> text(size_t(length) + 1, L'\0');
  SendDlgItemMessageW(window, id, CB_GETLBTEXT, WPARAM(k), LPARAM(text.data()));
  return dialog::Narrow(text.data());
}

void InvalidatePicture(HWND window, EditorKind kind) {
  const PictureArea area = EditorPicture(kind);
  if (!area.present) return;
  RECT r = {area.x, area.y, area.x + area.width, area.y + area.height};
  InvalidateRect(window, &r, TRUE);
}

void ShowSelection(HWND window, EditorData& data) {
  const DatabaseEditorModel& model = data.model;
  const EditorControls& c = ControlsOf(model.kind);
  data.extra.filling = true;
  if (c.name != 0) dialog::SetItemText(window, c.name, EntryName(model, model.selected));
  dialog::ListBoxClear(window, c.number);
  const std::string number = SelectionNumberText(model);
  if (!number.empty()) dialog::ListBoxAdd(window, c.number, number.c_str());
  for (const EditorField& field : EditorFields(model.kind)) {
    if (field.kind == FieldKind::kCountry) {
      // The box is sorted: the stored country is found by its text.
      const std::string country = FieldText(model, field.controlId);
      const std::wstring wide = dialog::Wide(country.c_str());
      const LRESULT k = country.empty()
                            ? CB_ERR
                            : SendDlgItemMessageW(window, field.controlId, CB_FINDSTRINGEXACT,
                                                  WPARAM(-1), LPARAM(wide.c_str()));
      dialog::ComboSelect(window, field.controlId, k == CB_ERR ? -1 : int(k));
    } else {
      dialog::SetItemText(window, field.controlId, FieldText(model, field.controlId).c_str());
    }
  }
  data.extra.filling = false;
  InvalidatePicture(window, model.kind);
}

void ShowList(HWND window, EditorData& data) {
  const DatabaseEditorModel& model = data.model;
  const EditorControls& c = ControlsOf(model.kind);
  dialog::ListBoxClear(window, c.list);
  for (int i = 0; i < model.count; ++i) dialog::ListBoxAdd(window, c.list, EntryName(model, i));
  if (model.selected >= 0) dialog::ListBoxSelect(window, c.list, model.selected);
  ShowSelection(window, data);
}

BOOL OnInit(HWND window, EditorData& data) {
  DatabaseEditorModel& model = data.model;
  OpenEditor(model, model.kind, *data.boxes);
  const EditorControls& c = ControlsOf(model.kind);
  data.fonts.Apply(window, {c.title, c.listLabel, c.name});
  dialog::LimitItemText(window, c.newBox, NewNameLimit(model.kind));
  for (const EditorField& field : EditorFields(model.kind)) {
    if (field.kind == FieldKind::kCountry) {
      for (const std::string& country : model.countries) {
        dialog::ComboAdd(window, field.controlId, country.c_str());
      }
    } else if (field.limit > 0) {
      dialog::LimitItemText(window, field.controlId, field.limit);
    }
  }
  ShowList(window, data);
  return TRUE;
}

void OnCommand(HWND window, EditorData& data, int id, int code) {
  DatabaseEditorModel& model = data.model;
  const EditorControls& c = ControlsOf(model.kind);
  if (id == c.add && code == BN_CLICKED) {
    if (AddEntry(model, dialog::ItemText(window, c.newBox).c_str(), *data.boxes) ==
        AddResult::kAdded) {
      dialog::SetItemText(window, c.newBox, "");
      ShowList(window, data);
    }
  } else if (id == c.remove && code == BN_CLICKED) {
    const int position = dialog::ListBoxSelection(window, c.list);
    if (position < 0 || position >= model.count) return;
    if (RemoveEntry(model, position, dialog::ItemText(window, c.newBox).c_str(), *data.boxes) ==
        AddResult::kAdded) {
      dialog::SetItemText(window, c.newBox, "");
    }
    ShowList(window, data);
  } else if (id == c.list && code == LBN_SELCHANGE) {
    SelectEntry(model, dialog::ListBoxSelection(window, c.list));
    ShowSelection(window, data);
  } else if (id == IDC_CIRCUITS_CLEAR_RECORD && model.kind == EditorKind::kCircuits &&
             code == BN_CLICKED) {
    ClearRecordLap(model);
    ShowSelection(window, data);
  } else if (id == IDC_DRIVERS_COUNTRY && model.kind == EditorKind::kDrivers &&
             code == CBN_SELCHANGE) {
    FieldTyped(model, id, ComboText(window, id).c_str());
  } else if (code == EN_CHANGE && !data.extra.filling) {
    FieldTyped(model, id, dialog::ItemText(window, id).c_str());
  }
}

// Draws the picture scaled into its place; a missing or damaged file draws nothing.
void PaintPicture(HDC dc, const DatabaseEditorModel& model) {
  const PictureArea area = EditorPicture(model.kind);
  const char* path = ImagePath(model);
  if (!area.present || path[0] == '\0') return;
  const HANDLE image = LoadImageW(nullptr, dialog::Wide(path).c_str(), IMAGE_BITMAP, area.width,
                                  area.height, LR_LOADFROMFILE);
  if (image == nullptr) return;
  const HDC memory = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(memory, image);
  BitBlt(dc, area.x, area.y, area.width, area.height, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(image);
}

bool ChoosePicture(HWND window, std::string& chosen) {
  std::wstring filter = dialog::Wide(TXT_EDITOR_PICTURE_FILTER);
  filter.push_back(L'\0');
  filter += L"*.bmp";
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
  OPENFILENAMEW request = {};
  request.lStructSize = sizeof request;
  request.hwndOwner = window;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (!GetOpenFileNameW(&request)) return false;
  const std::wstring name(file.data());
  chosen = Utf16ToPath(std::u16string(name.begin(), name.end()));
  return !chosen.empty();
}

bool OnMessage(HWND window, EditorData& data, UINT message, WPARAM, LPARAM lParam,
               INT_PTR& result) {
  DatabaseEditorModel& model = data.model;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      PaintPicture(dc, model);
      EndPaint(window, &paint);
      result = TRUE;
      return true;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
      if (model.selected < 0 ||
          !InPictureArea(model.kind, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) {
        return false;
      }
      if (message == WM_RBUTTONDBLCLK) {
        SetImagePath(model, "");
      } else {
        std::string chosen;
        const bool ok = ChoosePicture(window, chosen);
        RestoreFolder(model);  // a copy of the picture goes into the program folder
        if (!ok || !PictureChosen(model, chosen, *data.boxes)) return false;
      }
      InvalidatePicture(window, model.kind);
      result = TRUE;
      return true;
    }
    case WM_DESTROY:
      RestoreFolder(model);
      return false;
    default:
      return false;
  }
}

// "Ok": a failed write has shown its message and still closes the editor.
void Confirm(DatabaseEditorModel& model, MessageBoxes& boxes) {
  ConfirmEditor(model, boxes);
}

}  // namespace

bool RunDatabaseEditor(HWND owner, EditorKind kind, MessageBoxes& boxes) {
  auto model = std::make_unique<DatabaseEditorModel>();
  model->kind = kind;
  return dialog::RunModal<DatabaseEditorModel, OnInit, OnCommand, Confirm, OnMessage,
                          EditorWindowState>(owner, ControlsOf(kind).templateName, boxes, *model);
}

}  // namespace zarvo
