// The run window's procedure: moves texts between the controls and RunWindowModel, paints the
// four drawing areas from the model's drawing list, follows the mouse and the strip's scroll bar,
// and prints the page.
#include "analysis/run_window_win32.h"

#include <commdlg.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "analysis/run_export_port.h"
#include "analysis/run_synthesis.h"
#include "analysis/run_synthesis_win32.h"
#include "analysis/run_window.h"
#include "platform/files.h"
#include "resources/resource_ids.h"
#include "text/catalogue.h"
#include "ui/dialog_controls_win32.h"
#include "ui/drawing_win32.h"

namespace zarvo {

namespace {

struct RunWindowExtra {
  std::string folder;  // the working directory at opening, restored after printing and closing
  HBITMAP printImage = nullptr;
};

using RunWindowData = dialog::ModalData<RunWindowModel, RunWindowExtra>;

// The run synthesis being shown, or nullptr for the run detail window. One run window is open at
// a time (each is modal), so the procedure finds it here.
RunSynthesis* gSynthesis = nullptr;

// The synthesis' opening: the run hand-off (the heading lines, range and laps as the run detail
// window builds them) and the car chooser's entries.
void OpenSynthesisRunWindow(RunWindowModel& model, RunSynthesis& synthesis, MessageBoxes& boxes) {
  ClearRunWindow(model, RunWindowKind::kSynthesis);
  OpenRunSynthesis(synthesis, boxes);
  const RunHandOff& run = synthesis.run;
  LoadRunWindow(model, run.participant, run.runCaption, run.circuitName, run.runTitle);
}

RECT RectOf(const GraphRect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

void Repaint(HWND window, const GraphRect& area) {
  const RECT r = RectOf(area);
  InvalidateRect(window, &r, FALSE);
}

void PlaceControls(HWND window) {
  for (int i = 0; i < kRunWindowControlCount; ++i) {
    const ControlPlace& c = kRunWindowLayout[i];
    HWND control = GetDlgItem(window, c.id);
    if (control != nullptr)
      SetWindowPos(control, nullptr, c.x, c.y, c.width, c.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A system font larger than the template assumed still leaves room for every control.
  RECT client;
  GetClientRect(window, &client);
  if (client.right < kRunWindowClientWidth || client.bottom < kRunWindowClientHeight) {
    RECT frame;
    GetWindowRect(window, &frame);
    const int growX =
        client.right < kRunWindowClientWidth ? kRunWindowClientWidth - client.right : 0;
    const int growY =
        client.bottom < kRunWindowClientHeight ? kRunWindowClientHeight - client.bottom : 0;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + growX,
                 frame.bottom - frame.top + growY, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

void ShowStripBar(HWND window, const RunWindowModel& model) {
  const StripBar bar = MakeStripBar(model);
  HWND scroll = GetDlgItem(window, IDC_RUN_STRIP_SCROLL);
  SetScrollRange(scroll, SB_CTL, 0, bar.maximum, FALSE);
  SetScrollPos(scroll, SB_CTL, model.stripOffset, TRUE);
  ShowWindow(scroll, bar.visible ? SW_SHOW : SW_HIDE);
}

BOOL OnInit(HWND window, RunWindowData& data) {
  RunWindowModel& model = data.model;
  data.extra.folder = CurrentFolder();
  if (gSynthesis != nullptr) {
    OpenSynthesisRunWindow(model, *gSynthesis, *data.boxes);
  } else {
    OpenArchivedRunWindow(model, *data.boxes);
  }
  data.fonts.Apply(window,
                   {IDC_RUN_SHOCKS_FRONT_HEAD, IDC_RUN_SHOCKS_REAR_HEAD, IDC_RUN_CHASSIS_FRONT_HEAD,
                    IDC_RUN_CHASSIS_REAR_HEAD, IDC_RUN_TIRES_FRONT_HEAD, IDC_RUN_TIRES_REAR_HEAD,
                    IDC_RUN_TRACK_CONDITIONS_LABEL, IDC_RUN_CAR_LABEL, IDC_RUN_DATA, IDC_RUN_HISTO,
                    IDC_RUN_CURVE});
  PlaceControls(window);
  const int viewIds[] = {IDC_RUN_DATA, IDC_RUN_HISTO, IDC_RUN_CURVE};
  CheckRadioButton(window, IDC_RUN_DATA, IDC_RUN_CURVE, viewIds[static_cast<int>(model.view)]);
  for (int field = 0; field < kSetupFieldCount; ++field) {
    dialog::LimitItemText(window, SetupEditId(field), SetupFieldCapacity(field) - 2);
    dialog::SetItemText(window, SetupEditId(field), SetupField(model.record.setup, field));
  }
  dialog::LimitItemText(window, IDC_RUN_FIRST_LAP, kRangeEditDigits);
  dialog::LimitItemText(window, IDC_RUN_LAST_LAP, kRangeEditDigits);
  // Setting the texts runs the range rules, which keep 1..n as it is.
  const int first = model.first, last = model.last;
  dialog::SetItemNumber(window, IDC_RUN_FIRST_LAP, first);
  dialog::SetItemNumber(window, IDC_RUN_LAST_LAP, last);
  model.first = first;
  model.last = last;

  data.extra.printImage = static_cast<HBITMAP>(LoadImageW(
      nullptr, dialog::Wide(kPrintButtonImage).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (data.extra.printImage != nullptr)
    SendDlgItemMessageW(window, IDC_RUN_PRINT, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(data.extra.printImage));
  if (gSynthesis != nullptr) {
    ShowSynthesisControls(window, gSynthesis->cars);
  } else {
    // The archived run's window: the sheet is only shown and "Cancel" is the one way out.
    dialog::ShowItem(window, IDOK, false);
    dialog::ShowItem(window, IDC_RUN_CAR_LIST, false);
    SetWindowPos(GetDlgItem(window, IDCANCEL), nullptr, 750, 600, 60, 24, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(window, IDC_RUN_CAR_LABEL), nullptr, 20, 44, 60, 16, SWP_NOZORDER);
  }
  dialog::ShowItem(window, IDC_RUN_EXPORT, CurrentRunExportPort() != nullptr);
  ShowStripBar(window, model);
  InvalidateRect(window, nullptr, TRUE);
  return TRUE;
}

// Logical 630 x 1120 units onto the printable area, kept square.
void MapPage(HDC dc) {
  SetMapMode(dc, MM_ISOTROPIC);
  SetWindowExtEx(dc, kPageWidth, kPageHeight, nullptr);
  SetViewportExtEx(dc, GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), nullptr);
  SetWindowOrgEx(dc, 0, 0, nullptr);
  SetViewportOrgEx(dc, 0, 0, nullptr);
}

void DrawLogo(HDC dc) {
  HBITMAP logo = static_cast<HBITMAP>(
      LoadImageW(nullptr, dialog::Wide(kLogoFile).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (logo == nullptr) return;  // a missing picture is not reported
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, logo);
  BITMAP info;
  GetObjectW(logo, sizeof info, &info);
  StretchBlt(dc, kPageLogo.left, kPageLogo.top, kPageLogo.right - kPageLogo.left,
             kPageLogo.bottom - kPageLogo.top, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(logo);
}

void PrintPage(HWND window, RunWindowData& data) {
  // Portrait, medium quality, one page, one copy.
  HGLOBAL mode = GlobalAlloc(GHND, sizeof(DEVMODEW));
  if (mode != nullptr) {
    auto* dm = static_cast<DEVMODEW*>(GlobalLock(mode));
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmFields = DM_ORIENTATION | DM_PRINTQUALITY;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPrintQuality = DMRES_MEDIUM;
    GlobalUnlock(mode);
  }
  PRINTDLGW pd = {};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = window;
  pd.hDevMode = mode;
  pd.Flags = PD_RETURNDC | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  pd.nFromPage = 1;
  pd.nToPage = 1;
  pd.nMinPage = 1;
  pd.nMaxPage = 1;
  pd.nCopies = 1;
  if (PrintDlgW(&pd) && pd.hDC != nullptr) {
    HDC dc = pd.hDC;
    MapPage(dc);
    const std::wstring name = dialog::Wide(TXT_PAGE_DOCUMENT);
    DOCINFOW doc = {};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = name.c_str();
    if (StartDocW(dc, &doc) > 0) {
      if (StartPage(dc) > 0) {
        DrawLogo(dc);
        static DrawList page;
        page.Clear();
        DrawRunPage(data.model, page);
        ReplayDrawList(dc, page);
        EndPage(dc);
      }
      EndDoc(dc);
    }
    DeleteDC(dc);
  }
  if (pd.hDevMode != nullptr) GlobalFree(pd.hDevMode);
  if (pd.hDevNames != nullptr) GlobalFree(pd.hDevNames);
  SetCurrentFolder(data.extra.folder.c_str());
}

void OnCommand(HWND window, RunWindowData& data, int id, int code) {
  RunWindowModel& model = data.model;
  if (id == IDOK) {
    // The window has no default button: Enter in a field ("to lap", a setup value) comes here
    // as "OK" does. It moves on to the next field, the one typed in having taken its value at
    // every keystroke; only the "Save" button itself (a click gives it the focus) saves.
    if (gSynthesis == nullptr || GetFocus() != GetDlgItem(window, IDOK)) {
      SendMessageW(window, WM_NEXTDLGCTL, 0, FALSE);
      return;
    }
    data.confirmed = true;  // "Save": the sheet as it stands is the answer
    EndDialog(window, IDOK);
    return;
  }
  if (gSynthesis != nullptr) {
    if (OnSynthesisCommand(window, MAKEWPARAM(id, code), model.record.setup, *data.boxes)) return;
  }
  switch (id) {
    case IDC_RUN_FIRST_LAP:
    case IDC_RUN_LAST_LAP:
      if (code == EN_CHANGE) {
        const std::string text = dialog::ItemText(window, id);
        int rewriteTo = 0;
        const bool rewrite = id == IDC_RUN_FIRST_LAP ? FirstLapTyped(model, text.c_str(), rewriteTo)
                                                     : LastLapTyped(model, text.c_str(), rewriteTo);
        if (rewrite) dialog::SetItemNumber(window, id, rewriteTo);
        model.hover.active = false;
        Repaint(window, kGraphAreas.plot);
        Repaint(window, kGraphAreas.header);
      }
      break;
    case IDC_RUN_DATA:
    case IDC_RUN_HISTO:
    case IDC_RUN_CURVE:
      if (code == BN_CLICKED) {
        ChooseRunView(model, static_cast<GraphView>(id - IDC_RUN_DATA));
        Repaint(window, kGraphAreas.plot);
      }
      break;
    case IDC_RUN_PRINT:
      if (code == BN_CLICKED) PrintPage(window, data);
      break;
    case IDC_RUN_EXPORT:
      if (code == BN_CLICKED && CurrentRunExportPort() != nullptr) {
        CurrentRunExportPort()->ExportDriverRun(model.record, model.runCaption, model.circuitName,
                                                model.runTitle);
        SetCurrentFolder(data.extra.folder.c_str());
      }
      break;
    default:
      break;
  }
}

StripScroll ScrollActionOf(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      return StripScroll::kLineLeft;
    case SB_LINERIGHT:
      return StripScroll::kLineRight;
    case SB_PAGELEFT:
      return StripScroll::kPageLeft;
    case SB_PAGERIGHT:
      return StripScroll::kPageRight;
    case SB_THUMBPOSITION:
      return StripScroll::kThumbPosition;
    default:
      return StripScroll::kOther;
  }
}

bool OnMessage(HWND window, RunWindowData& data, UINT message, WPARAM wParam, LPARAM lParam,
               INT_PTR& result) {
  RunWindowModel& model = data.model;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      static DrawList list;
      list.Clear();
      DrawRunWindow(model, list);
      ReplayDrawList(dc, list);
      EndPaint(window, &ps);
      result = TRUE;
      return true;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == GetDlgItem(window, IDC_RUN_STRIP_SCROLL)) {
        if (ScrollStrip(model, ScrollActionOf(wParam), static_cast<short>(HIWORD(wParam)))) {
          SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, model.stripOffset, TRUE);
          Repaint(window, kGraphAreas.strip);
        }
        result = TRUE;
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
      if (RunWindowMouseMoved(model, static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam))))
        Repaint(window, kGraphAreas.plot);
      result = TRUE;
      return true;
    case WM_DESTROY:
      if (data.extra.printImage != nullptr) DeleteObject(data.extra.printImage);
      data.extra.printImage = nullptr;
      return false;
    default:
      return false;
  }
}

}  // namespace

void RunSynthesisWindow(HWND owner, MessageBoxes& boxes) {
  static RunSynthesis synthesis;  // about 4 kB of passage times and the car names
  auto model = std::make_unique<RunWindowModel>();
  const std::string folder = CurrentFolder();
  gSynthesis = &synthesis;
  const bool saved =
      dialog::RunModal<RunWindowModel, OnInit, OnCommand, nullptr, OnMessage, RunWindowExtra>(
          owner, L"DETAILRESULTATS", boxes, *model);
  gSynthesis = nullptr;
  SetCurrentFolder(folder.c_str());
  LeaveRunSynthesis(model->record.setup, saved, boxes);
}

bool OpenArchivedRun(HWND owner, const char* runsFilePath, const char* runTitle,
                     MessageBoxes& boxes) {
  if (!HandOverArchivedRun(runsFilePath, runTitle, boxes)) return false;
  RunArchivedRunWindow(owner, boxes);
  return true;
}

void RunArchivedRunWindow(HWND owner, MessageBoxes& boxes) {
  auto model = std::make_unique<RunWindowModel>();
  const std::string folder = CurrentFolder();
  dialog::RunModal<RunWindowModel, OnInit, OnCommand, nullptr, OnMessage, RunWindowExtra>(
      owner, L"DETAILRESULTATS", boxes, *model);
  SetCurrentFolder(folder.c_str());
}

}  // namespace zarvo
