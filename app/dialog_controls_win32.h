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

}  // namespace zarvo::dialog
