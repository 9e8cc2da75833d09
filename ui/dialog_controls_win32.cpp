// Helpers of the session dialogs' procedures (see dialog_controls_win32.h).
#include "ui/dialog_controls_win32.h"

#include <algorithm>
#include <vector>

#include "platform/codepage.h"

namespace zarvo::dialog {

namespace {

constexpr int kDialogFontHeight = 16;
constexpr wchar_t kDialogFontFace[] = L"Arial";

HFONT MakeFont(int weight) {
  return CreateFontW(kDialogFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, kDialogFontFace);
}

bool IsGroupBox(HWND control) {
  wchar_t className[16] = {};
  GetClassNameW(control, className, 16);
  if (lstrcmpiW(className, L"Button") != 0) return false;
  return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

}  // namespace

std::wstring Wide(const char* cp1252) {
  const std::u16string utf16 = Cp1252ToUtf16(cp1252 == nullptr ? "" : cp1252);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string Narrow(const wchar_t* text) {
  if (text == nullptr) return std::string();
  const std::u16string utf16(text, text + lstrlenW(text));
  return Utf16ToCp1252(utf16);
}

void SetItemText(HWND dialog, int id, const char* cp1252) {
  SetDlgItemTextW(dialog, id, Wide(cp1252).c_str());
}

void SetItemNumber(HWND dialog, int id, int value) {
  SetDlgItemTextW(dialog, id, std::to_wstring(value).c_str());
}

std::string ItemText(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthW(control);
  std::vector<wchar_t> buffer(size_t(std::max(length, 0)) + 1, L'\0');
  GetWindowTextW(control, buffer.data(), int(buffer.size()));
  return Narrow(buffer.data());
}

void LimitItemText(HWND dialog, int id, int maxCharacters) {
  SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, WPARAM(maxCharacters), 0);
}

void ShowItem(HWND dialog, int id, bool visible) {
  ShowWindow(GetDlgItem(dialog, id), visible ? SW_SHOW : SW_HIDE);
}

void EnableItem(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void CheckItem(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void ListBoxClear(HWND dialog, int id) {
  SendDlgItemMessageW(dialog, id, LB_RESETCONTENT, 0, 0);
}

void ListBoxAdd(HWND dialog, int id, const char* cp1252) {
  const std::wstring text = Wide(cp1252);
  SendDlgItemMessageW(dialog, id, LB_ADDSTRING, 0, LPARAM(text.c_str()));
}

int ListBoxSelection(HWND dialog, int id) {
  const LRESULT index = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : int(index);
}

void ListBoxSelect(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, LB_SETCURSEL, WPARAM(index), 0);
}

void ComboAdd(HWND dialog, int id, const char* cp1252) {
  const std::wstring text = Wide(cp1252);
  SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0, LPARAM(text.c_str()));
}

int ComboSelection(HWND dialog, int id) {
  const LRESULT index = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : int(index);
}

void ComboSelect(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, CB_SETCURSEL, WPARAM(index), 0);
}

std::string ComboSelectedText(HWND dialog, int id) {
  const int index = ComboSelection(dialog, id);
  if (index < 0) return std::string();
  const LRESULT length = SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (length == CB_ERR) return std::string();
  std::vector<wchar_t> buffer(size_t(length) + 1, L'\0');
  SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, WPARAM(index), LPARAM(buffer.data()));
  return Narrow(buffer.data());
}

HBITMAP LoadBitmapFile(const char* cp1252Path) {
  return static_cast<HBITMAP>(
      LoadImageW(nullptr, Wide(cp1252Path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

namespace {

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  if (bitmap == nullptr) return;
  const SIZE size = BitmapSize(bitmap);
  const HDC memory = CreateCompatibleDC(dc);
  const HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, x, y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

void InvalidateBitmap(HWND window, HBITMAP bitmap, int x, int y) {
  if (bitmap == nullptr) return;
  const SIZE size = BitmapSize(bitmap);
  const RECT area = {x, y, x + size.cx, y + size.cy};
  InvalidateRect(window, &area, TRUE);
}

DialogFonts::~DialogFonts() {
  if (normal_ != nullptr) DeleteObject(normal_);
  if (bold_ != nullptr) DeleteObject(bold_);
}

void DialogFonts::Apply(HWND dialog, std::initializer_list<int> boldIds) {
  if (normal_ == nullptr) normal_ = MakeFont(FW_NORMAL);
  if (bold_ == nullptr) bold_ = MakeFont(FW_BOLD);
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(control);
    const bool bold =
        IsGroupBox(control) || std::find(boldIds.begin(), boldIds.end(), id) != boldIds.end();
    SendMessageW(control, WM_SETFONT, WPARAM(bold ? bold_ : normal_), FALSE);
  }
}

}  // namespace zarvo::dialog
