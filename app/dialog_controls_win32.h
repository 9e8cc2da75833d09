// Small helpers of the session dialogs' procedures: Windows-1252 texts on controls through the
// wide API (so French texts show right whatever the system code page), list and combo boxes, and
// the dialog fonts ("Arial" of height 16; weight 700 for headings and group boxes).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

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

// The data of a dialog procedure, kept in GWLP_USERDATA from WM_INITDIALOG on.
template <typename Data>
Data* DataOf(HWND dialog, UINT message, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
    return reinterpret_cast<Data*>(lParam);
  }
  return reinterpret_cast<Data*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
}

// The procedure of a modal dialog whose data lives in GWLP_USERDATA: WM_INITDIALOG goes to
// OnInit (its result is the message's: FALSE when it has set the focus itself), WM_COMMAND to
// OnCommand with the control id and the notification code, and the close box cancels.
template <typename Data, BOOL (*OnInit)(HWND, Data&), void (*OnCommand)(HWND, Data&, int, int)>
INT_PTR CALLBACK ModalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Data* data = DataOf<Data>(window, message, lParam);
  if (data == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      return OnInit(window, *data);
    case WM_COMMAND:
      OnCommand(window, *data, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      EndDialog(window, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

// Runs the dialog of the template, modal to owner, on data.
template <typename Data, BOOL (*OnInit)(HWND, Data&), void (*OnCommand)(HWND, Data&, int, int)>
void RunModal(HWND owner, const wchar_t* templateName, Data& data) {
  DialogBoxParamW(GetModuleHandleW(nullptr), templateName, owner,
                  ModalProc<Data, OnInit, OnCommand>, reinterpret_cast<LPARAM>(&data));
}

}  // namespace zarvo::dialog
