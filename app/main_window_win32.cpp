// The main window's procedure and its handlers; every decision is taken by the program
// (app/program.h) and the views of app/results_view.h, this file only moves messages and pixels.
#include "app/main_window_win32.h"

#include <shellapi.h>
#include <shlobj.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "app/race_panel_layout.h"
#include "app/race_panel_win32.h"
#include "display/results_painter_win32.h"
#include "platform/codepage.h"
#include "platform/sound_player.h"
#include "resources/resource_ids.h"

namespace zarvo {

namespace {

std::wstring Wide(const char* text) {
  const std::u16string utf16 = Cp1252ToUtf16(text != nullptr ? text : "");
  return std::wstring(utf16.begin(), utf16.end());
}

ScrollRequest RequestOf(int code) {
  switch (code) {
    case SB_LINEUP:
      return ScrollRequest::kLineUp;
    case SB_LINEDOWN:
      return ScrollRequest::kLineDown;
    case SB_PAGEUP:
      return ScrollRequest::kPageUp;
    case SB_PAGEDOWN:
      return ScrollRequest::kPageDown;
    case SB_THUMBPOSITION:
      return ScrollRequest::kThumbReleased;
    default:
      return ScrollRequest::kOther;
  }
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      boxes_(&window_),
      files_(&window_),
      dialogs_(&window_, boxes_),
      port_(MakeSystemSerialPort()),
      programDialogs_(&window_, boxes_, *port_, SystemClock()) {
  dialogs_.UseSerialPort(*port_, SystemClock());
  program_ = std::make_unique<Program>(ProgramServices{SystemClock(), *port_, sounds_, boxes_,
                                                       *this, *this, tree_, *this, files_, dialogs_,
                                                       programDialogs_});
}

MainWindow::~MainWindow() {
  if (classBrush_ != nullptr) DeleteObject(classBrush_);
}

int MainWindow::Run() {
  menus_ = BuildMainMenus(instance_);

  classBrush_ = CreateSolidBrush(RGB(200, 200, 200));
  WNDCLASSW windowClass = {};
  windowClass.style = 0;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_ZARVO));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = classBrush_;
  windowClass.lpszClassName = kMainWindowClass;
  if (!RegisterClassW(&windowClass)) return 0;

  const HWND created = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       nullptr, menus_.bar, instance_, this);
  if (created == nullptr) return 0;
  ShowWindow(window_, SW_SHOWMAXIMIZED);
  UpdateWindow(window_);

  program_->AfterWindowShown();

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      program_->SetScreenSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
      program_->WindowStartUp();
      return 0;
    case WM_SIZE:
      tree_.Place(HIWORD(lParam));
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORSTATIC:
      return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT &&
          OnSetCursor()) {
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (resizer_.Dragging()) SetCursor(resize_);
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != window_) resizer_.Cancel();
      return 0;
    case WM_VSCROLL:
      OnVerticalScroll(wParam, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId) program_->OnTick();
      return 0;
    case WM_CONTEXTMENU:
      return 0;
    case WM_CLOSE:
      if (program_->OnCloseRequest()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      program_->OnDestroy();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // nothing is asked: what closing would write is written at WM_ENDSESSION
    case WM_ENDSESSION:
      if (wParam) program_->OnSessionEnd();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Painting.

// The table is drawn off screen on the window's background and copied in one go, so that a
// repaint after every passage shows no flicker of its backgrounds and gradients.
void MainWindow::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  RECT client;
  GetClientRect(window_, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP picture =
      CreateCompatibleBitmap(dc, std::max<int>(client.right, 1), std::max<int>(client.bottom, 1));
  if (memory == nullptr || picture == nullptr) {
    if (picture != nullptr) DeleteObject(picture);
    if (memory != nullptr) DeleteDC(memory);
    PaintTable(dc);
    EndPaint(window_, &paint);
    return;
  }
  HGDIOBJ previous = SelectObject(memory, picture);
  OnEraseBackground(memory);
  PaintTable(memory);
  BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
         paint.rcPaint.bottom - paint.rcPaint.top, memory, paint.rcPaint.left, paint.rcPaint.top,
         SRCCOPY);
  SelectObject(memory, previous);
  DeleteObject(picture);
  DeleteDC(memory);
  EndPaint(window_, &paint);
}

void MainWindow::PaintTable(HDC dc) {
  const ProgramState& s = program_->state();
  ResultsPaintInputs in = {};
  in.settings = &s.display;
  in.metrics = program_->Metrics();
  in.firstVisibleRow = s.view.firstVisibleRow;
  in.rows = s.race.rows;
  in.runCaption = s.session.runCaption;
  in.radioConflict = s.session.radioConflict;
  in.durationText = s.race.run.durationText;
  in.elapsedText = s.race.run.elapsedText;
  in.remainingText = s.race.run.remainingText;
  in.secondsText = s.race.run.countdownText;
  PaintResultsTable(dc, in);
}

void MainWindow::OnEraseBackground(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  HBRUSH brush = CreateSolidBrush(program_->state().display.colours[kColourWindow]);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
}

// Labels, groups and mode buttons stand on the window's background; the scan state box keeps the
// system's look.
LRESULT MainWindow::OnControlColour(HDC dc, HWND control) {
  if (GetDlgCtrlID(control) == IDC_SCAN_STATUS) {
    return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
  }
  const Colour colour = program_->state().display.colours[kColourWindow];
  if (labelBrush_ == nullptr || labelBrushColour_ != colour) {
    if (labelBrush_ != nullptr) DeleteObject(labelBrush_);
    labelBrush_ = CreateSolidBrush(colour);
    labelBrushColour_ = colour;
  }
  SetBkColor(dc, colour);
  return reinterpret_cast<LRESULT>(labelBrush_);
}

void MainWindow::InvalidateLayoutRect(const LayoutRect& rect, bool erase) {
  const RECT r = ToRect(rect);
  InvalidateRect(window_, &r, erase ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------------------------
// Mouse: column resizing in the heading band, Ctrl+click on a row.

bool MainWindow::OnSetCursor() {
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(window_, &at);
  if (!resizer_.WantsResizeCursor(program_->Metrics(), at.x, at.y)) return false;
  SetCursor(resize_);
  return true;
}

void MainWindow::OnLeftButtonDown(WPARAM keys, int x, int y) {
  if ((keys & MK_CONTROL) != 0) {
    // A modal window: this window's timer 1 still ticks through the window's message loop.
    program_->OnResultsCtrlClick(x, y);
    return;
  }
  if (resizer_.Press(program_->Metrics(), x, y)) {
    SetCapture(window_);
    SetCursor(resize_);
  }
}

void MainWindow::OnLeftButtonUp(int x, int y) {
  if (!resizer_.Dragging()) return;
  ProgramState& s = program_->state();
  const LayoutRect before = program_->Layout().tableArea;
  const bool changed = resizer_.Release(program_->Metrics(), x, y, s.liveColumnWidths, s.display);
  ReleaseCapture();
  if (!changed) return;
  // The table grows or shrinks with the column: what it leaves is window background again.
  const LayoutRect after = program_->Layout().tableArea;
  InvalidateLayoutRect(
      LayoutRect{std::min(before.left, after.left), std::min(before.top, after.top),
                 std::max(before.right, after.right), std::max(before.bottom, after.bottom)},
      true);
}

// ---------------------------------------------------------------------------------------------
// The results scroll bar.

void MainWindow::OnVerticalScroll(WPARAM wParam, HWND scrollBar) {
  if (scrollBar == nullptr || scrollBar != scrollBar_) return;
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(scrollBar_, SB_CTL, &info);
  const bool changed = program_->OnScroll(RequestOf(LOWORD(wParam)), info.nTrackPos);
  SetScrollPos(scrollBar_, SB_CTL, program_->state().view.firstVisibleRow, TRUE);
  if (changed) Repaint(RaceArea::kTable);
}

// ---------------------------------------------------------------------------------------------
// The session tree's notifications and the commands.

LRESULT MainWindow::OnNotify(const NMHDR* header) {
  if (header == nullptr || header->idFrom != IDC_SESSION_TREE) return 0;
  return HandleSessionTreeNotify(program_->session(), *header);
}

void MainWindow::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return;  // menus and buttons both notify with code 0
  if (id == IDM_QUIT && control == nullptr) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return;
  }
  bool checked = false;
  if (id == IDC_SCAN) {
    checked = SendMessageW(GetDlgItem(window_, IDC_SCAN), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  if (program_->OnRaceCommand(id, checked)) return;
  if (control == nullptr) program_->OnMenuCommand(id);
}

// ---------------------------------------------------------------------------------------------
// For the session commands.

void MainWindow::SetTitle(const char* title) {
  SetWindowTextW(window_, Wide(title).c_str());
}

void MainWindow::ShowPopupMenu(int commandId) {
  HMENU menu = PopupMenuOf(menus_, commandId);
  if (menu == nullptr) return;
  POINT at;
  GetCursorPos(&at);
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr);
}

// ---------------------------------------------------------------------------------------------
// ProgramShell.

std::string MainWindow::ProgramFilesFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::string();
  }
  const std::wstring wide(path);
  return Utf16ToPath(std::u16string(wide.begin(), wide.end()));
}

void MainWindow::LoadCursors() {
  arrow_ = LoadCursorA(nullptr, IDC_ARROW);
  resize_ = LoadCursorA(nullptr, IDC_SIZEWE);
}

void MainWindow::CreateSessionTree(Colour background) {
  tree_.Create(window_, instance_, background);
}

void MainWindow::CreateRacePanel() {
  const ProgramState& s = program_->state();
  CreateRacePanelControls(window_, instance_, s.screenWidth, s.screenHeight, pictures_);
}

void MainWindow::CreateResultsScrollBar() {
  const ControlPlace place =
      ResultsScrollBarPlace(program_->Layout(), program_->state().screenWidth);
  scrollBar_ =
      CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, place.x, place.y, place.width,
                      std::max(place.height, 1), window_, nullptr, instance_, nullptr);
}

void MainWindow::CreatePanelFont() {
  panelFont_ = CreateAndSetPanelFont(window_);
}

RowFit MainWindow::FitRows(const DisplaySettings& settings, int participantCount) {
  const ProgramState& s = program_->state();
  return FitVisibleRows(window_, settings, participantCount, s.screenWidth, s.screenHeight);
}

void MainWindow::SetResultsScrollBar(bool shown, int range, int position) {
  if (scrollBar_ == nullptr) return;
  const ControlPlace place =
      ResultsScrollBarPlace(program_->Layout(), program_->state().screenWidth);
  MoveWindow(scrollBar_, place.x, place.y, place.width, std::max(place.height, 1), FALSE);
  SetScrollRange(scrollBar_, SB_CTL, 0, range, FALSE);
  SetScrollPos(scrollBar_, SB_CTL, position, TRUE);
  ShowWindow(scrollBar_, shown ? SW_SHOW : SW_HIDE);
}

void MainWindow::RepaintWindow() {
  InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::OpenDocument(const std::string& path) {
  const std::wstring file = Wide(path.c_str());
  SHELLEXECUTEINFOW execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = SEE_MASK_FLAG_NO_UI;  // a missing document is not reported
  execute.hwnd = window_;
  execute.lpVerb = L"open";
  execute.lpFile = file.c_str();
  execute.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&execute);
}

void MainWindow::StartTimer() {
  SetTimer(window_, kTimerId, kTimerPeriodMs, nullptr);
}

void MainWindow::StopTimer() {
  KillTimer(window_, kTimerId);
}

// The cursors are the system's shared cursors, which are never destroyed.
void MainWindow::ReleaseResources() {
  if (panelFont_ != nullptr) DeleteObject(panelFont_);
  panelFont_ = nullptr;
  for (HBITMAP& picture : pictures_) {
    if (picture != nullptr) DeleteObject(picture);
    picture = nullptr;
  }
  if (labelBrush_ != nullptr) DeleteObject(labelBrush_);
  labelBrush_ = nullptr;
}

void MainWindow::Quit() {
  PostQuitMessage(0);
}

// ---------------------------------------------------------------------------------------------
// RaceUi.

void MainWindow::EnableControl(int id, bool enabled) {
  HWND control = GetDlgItem(window_, id);
  if (control != nullptr) EnableWindow(control, enabled ? TRUE : FALSE);
}

void MainWindow::EnableMenuItem(int id, bool enabled) {
  ::EnableMenuItem(menus_.bar, static_cast<UINT>(id),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::ShowControl(int id, bool visible) {
  HWND control = GetDlgItem(window_, id);
  if (control != nullptr) ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
}

void MainWindow::CheckControl(int id, bool checked) {
  HWND control = GetDlgItem(window_, id);
  if (control != nullptr) {
    SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void MainWindow::SetControlText(int id, const char* text) {
  HWND control = GetDlgItem(window_, id);
  if (control != nullptr) SetWindowTextW(control, Wide(text).c_str());
}

void MainWindow::Repaint(RaceArea area) {
  if (window_ == nullptr) return;
  InvalidateLayoutRect(RaceAreaRect(area, program_->Layout()), RaceAreaNeedsErase(area));
}

}  // namespace zarvo
