// The main window (class "classeF"): it owns the program and its services, routes every message
// to the part that handles it, and implements the window-side ports of the core (the shell of
// start-up and of the end, the race panel as race control sees it, the window as the session
// commands see it).
#pragma once

#include <windows.h>

#include <memory>

#include "app/menus_win32.h"
#include "app/program.h"
#include "app/program_dialogs_win32.h"
#include "app/queued_sound_player.h"
#include "app/session_dialogs_win32.h"
#include "app/session_tree_win32.h"
#include "platform/serial_port.h"
#include "ui/file_dialogs_win32.h"
#include "ui/message_boxes_win32.h"

namespace zarvo {

constexpr wchar_t kMainWindowClass[] = L"classeF";
constexpr wchar_t kMainWindowTitle[] = L"Zarvo";

class MainWindow final : public ProgramShell, public RaceUi, public SessionWindow {
 public:
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  // Builds the menus, registers the class, creates and shows the window, brings up the decoder,
  // starts the timer, shows the warning and runs the message loop. Returns the quit code, or 0
  // when the window could not be created.
  int Run();

  HWND handle() const { return window_; }
  Program& program() { return *program_; }

  // SessionWindow: the window's title, the table's rows fitted again for a new participant count
  // (scroll bar reset, table repainted), and the pop-up menu of a command (1051 to 1055) shown at
  // the pointer.
  void SetTitle(const char* title) override;
  void ResetResultsView(int participantCount) override {
    program_->ResetResultsView(participantCount);
  }
  void ShowPopupMenu(int commandId) override;

  // ProgramShell
  std::string ProgramFilesFolder() override;
  void LoadCursors() override;
  void CreateSessionTree(Colour background) override;
  void SetTreeColour(Colour colour) override { tree_.SetBackground(colour); }
  void CreateRacePanel() override;
  void CreateResultsScrollBar() override;
  void CreatePanelFont() override;
  RowFit FitRows(const DisplaySettings& settings, int participantCount) override;
  void SetResultsScrollBar(bool shown, int range, int position) override;
  void RepaintWindow() override;
  void OpenDocument(const std::string& path) override;
  void StartTimer() override;
  void StopTimer() override;
  void ReleaseResources() override;
  void Quit() override;

  // RaceUi
  void EnableControl(int id, bool enabled) override;
  void EnableMenuItem(int id, bool enabled) override;
  void ShowControl(int id, bool visible) override;
  void CheckControl(int id, bool checked) override;
  void SetControlText(int id, const char* text) override;
  void Repaint(RaceArea area) override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void OnPaint();
  void PaintTable(HDC dc);
  void OnEraseBackground(HDC dc);
  LRESULT OnControlColour(HDC dc, HWND control);
  bool OnSetCursor();
  void OnLeftButtonDown(WPARAM keys, int x, int y);
  void OnLeftButtonUp(int x, int y);
  void OnVerticalScroll(WPARAM wParam, HWND scrollBar);
  LRESULT OnNotify(const NMHDR* header);
  void OnCommand(int id, int code, HWND control);
  void InvalidateLayoutRect(const LayoutRect& rect, bool erase);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  MainMenus menus_;
  HBRUSH classBrush_ = nullptr;
  WindowMessageBoxes boxes_;
  SessionTreeControl tree_;
  Win32FileDialogs files_;
  Win32SessionDialogs dialogs_;
  std::unique_ptr<SerialPort> port_;
  Win32ProgramDialogs programDialogs_;
  // Sounds are started by a thread of their own, so the tick never waits for the player.
  QueuedSoundPlayer sounds_{SystemSoundPlayer()};
  std::unique_ptr<Program> program_;
  HWND scrollBar_ = nullptr;
  HCURSOR arrow_ = nullptr;
  HCURSOR resize_ = nullptr;
  HFONT panelFont_ = nullptr;
  HBITMAP pictures_[3] = {};
  // The background of the labels and groups of the panel: the window colour.
  HBRUSH labelBrush_ = nullptr;
  Colour labelBrushColour_ = 0;
  ColumnResizer resizer_;
};

}  // namespace zarvo
