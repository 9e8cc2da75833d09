// Small helpers of the session dialogs' procedures: Windows-1252 texts on controls through the
// wide API (so French texts show right whatever the system code page), list and combo boxes, and
// the dialog fonts ("Arial" of height 16; weight 700 for headings and group boxes).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/message_boxes.h"

namespace zarvo::dialog {

std::wstring Wide(const char* cp1252);
std::string Narrow(const wchar_t* text);

void SetItemText(HWND dialog, int id, const char* cp1252);
void SetItemNumber(HWND dialog, int id, int value);
std::string ItemText(HWND dialog, int id);
void LimitItemText(HWND dialog, int id, int maxCharacters);
void ShowItem(HWND dialog, int id, bool visible);
void EnableItem(HWND dialog, int id, bool enabled);
void CheckItem(HWND dialog, int id, bool checked);

void ListBoxClear(HWND dialog, int id);
void ListBoxAdd(HWND dialog, int id, const char* cp1252);
int ListBoxSelection(HWND dialog, int id);  // -1 when nothing is selected
void ListBoxSelect(HWND dialog, int id, int index);

void ComboAdd(HWND dialog, int id, const char* cp1252);
int ComboSelection(HWND dialog, int id);
void ComboSelect(HWND dialog, int id, int index);
// The text of the combo box's selected entry; empty when nothing is selected.
std::string ComboSelectedText(HWND dialog, int id);

// Bitmaps read from files of the program folder (path relative to it, Windows-1252), drawn at a
// place of a dialog's client area. LoadBitmapFile gives nullptr when the file cannot be read;
// DrawBitmap and InvalidateBitmap do nothing with nullptr.
HBITMAP LoadBitmapFile(const char* cp1252Path);
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
// The bitmap's rectangle at (x, y) is to be repainted, background erased.
void InvalidateBitmap(HWND window, HBITMAP bitmap, int x, int y);

// The two fonts of a dialog, set on its controls at WM_INITDIALOG and deleted with the holder.
class DialogFonts {
 public:
  DialogFonts() = default;
  ~DialogFonts();
  DialogFonts(const DialogFonts&) = delete;
  DialogFonts& operator=(const DialogFonts&) = delete;
  // Every control gets the normal font; group boxes and the controls listed get the bold one.
  void Apply(HWND dialog, std::initializer_list<int> boldIds);

 private:
  HFONT normal_ = nullptr;
  HFONT bold_ = nullptr;
};

// What a modal dialog's procedure works on: its portable model (owned by the caller, who reads
// it after the dialog closes), the message boxes its rules use, its fonts, whatever Win32 state
// the procedure keeps beside the model (bitmaps, timers), and whether the user confirmed.
struct NoExtra {};

template <typename Model, typename Extra = NoExtra>
struct ModalData {
  ModalData(Model& m, MessageBoxes& b) : model(m), boxes(&b) {}
  Model& model;
  MessageBoxes* boxes;
  DialogFonts fonts;
  Extra extra{};
  bool confirmed = false;
};

// The procedure of a modal dialog whose ModalData lives in GWLP_USERDATA:
// - WM_INITDIALOG goes to OnInit(window, data) (its result is the message's: FALSE when it has
//   set the focus itself);
// - "OK" runs Confirm(model, boxes) and closes; a Confirm that returns bool keeps the dialog open
//   when it returns false; Confirm may be nullptr (no "OK" in the dialog);
// - "Cancel" and the close box close without confirming;
// - every other command goes to OnCommand(window, data, id, code);
// - OnMessage, when given, sees every other message first: it returns true when it handled the
//   message and has set result (WM_PAINT, WM_TIMER, mouse, scroll bars, WM_DESTROY...).
template <typename Data>
using MessageHook = bool (*)(HWND, Data&, UINT, WPARAM, LPARAM, INT_PTR& result);

template <typename Data, auto OnInit, auto OnCommand, auto Confirm, auto OnMessage = nullptr>
INT_PTR CALLBACK ModalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
  auto* data = reinterpret_cast<Data*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (data == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnInit(window, *data);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        if constexpr (!std::is_null_pointer_v<decltype(Confirm)>) {
          if constexpr (std::is_same_v<decltype(Confirm(data->model, *data->boxes)), bool>) {
            if (!Confirm(data->model, *data->boxes)) return TRUE;
          } else {
            Confirm(data->model, *data->boxes);
          }
          data->confirmed = true;
          EndDialog(window, IDOK);
        } else {
          OnCommand(window, *data, LOWORD(wParam), HIWORD(wParam));
        }
      } else if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(window, IDCANCEL);
      } else {
        OnCommand(window, *data, LOWORD(wParam), HIWORD(wParam));
      }
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, IDCANCEL);
      return TRUE;
    default:
      if constexpr (!std::is_null_pointer_v<decltype(OnMessage)>) {
        INT_PTR result = FALSE;
        if (OnMessage(window, *data, message, wParam, lParam, result)) return result;
      }
      return FALSE;
  }
}

// Runs the dialog of the template, modal to owner, on the caller's model; true when the user
// confirmed it.
template <typename Model, auto OnInit, auto OnCommand, auto Confirm, auto OnMessage = nullptr,
          typename Extra = NoExtra>
bool RunModal(HWND owner, const wchar_t* templateName, MessageBoxes& boxes, Model& model) {
  using Data = ModalData<Model, Extra>;
  auto data = std::make_unique<Data>(model, boxes);
  DialogBoxParamW(GetModuleHandleW(nullptr), templateName, owner,
                  ModalProc<Data, OnInit, OnCommand, Confirm, OnMessage>,
                  reinterpret_cast<LPARAM>(data.get()));
  return data->confirmed;
}

// The same on a model of its own, for dialogs whose OnInit reads what they show.
template <typename Model, auto OnInit, auto OnCommand, auto Confirm, auto OnMessage = nullptr,
          typename Extra = NoExtra>
bool RunModal(HWND owner, const wchar_t* templateName, MessageBoxes& boxes) {
  auto model = std::make_unique<Model>();
  return RunModal<Model, OnInit, OnCommand, Confirm, OnMessage, Extra>(owner, templateName, boxes,
                                                                       *model);
}

}  // namespace zarvo::dialog
