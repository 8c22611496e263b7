// A test host that loads the registered OBXPage the way the shell does:
// first through COM alone, then through shell32's property-sheet extension
// array for the Display control panel; it shows the page in a modeless
// property sheet and drives it. One "PASS ..." or "FAIL ..." line per
// check on standard output; exit code 0 only when every check passed.
//
//   page_host.exe <folder for the screenshots>
//
// Two faults of Wine are accounted for where they show, never by asking
// less of the library: Wine's shell32 keeps the IShellExtInit reference it
// takes (so the extension it made never dies), and Wine's COMCTL32 does
// not raise *pcRefParent (so a live page does not keep the library
// loaded).
#include <objbase.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/wine/window_screenshot.h"

namespace {

int failures = 0;

void check(bool passed, const std::string& what, const std::string& detail = "") {
  printf("%s %s%s%s\n", passed ? "PASS" : "FAIL", what.c_str(), detail.empty() ? "" : ": ",
         detail.c_str());
  fflush(stdout);
  if (!passed) ++failures;
}

std::string hex(long value) {
  char text[16];
  snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

const char handlerKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Display\\shellex\\"
    "PropertySheetHandlers\\OBXPage";
const wchar_t displayKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\Display";
const char helpText[] = "Use TV output button to set the video signal for TV";
const char helpCaption[] = "Ombrix";
const int sheetHelpButton = 9;  // IDHELP
const DWORD waitLimitMs = 10000;

// shell32's exports by ordinal.
typedef HANDLE(WINAPI* CreateExtArray)(HKEY, LPCWSTR, UINT);
typedef UINT(WINAPI* AddFromExtArray)(HANDLE, LPFNADDPROPSHEETPAGE, LPARAM);
typedef void(WINAPI* DestroyExtArray)(HANDLE);
typedef HRESULT(STDAPICALLTYPE* CanUnloadNow)();

// A function of a module, as the type it has.
template <typename Function>
Function procedure(HMODULE module, LPCSTR name) {
  FARPROC found = GetProcAddress(module, name);
  Function function;
  memcpy(&function, &found, sizeof function);
  return function;
}

// The add-page callback: collects the pages and the lParam it was given.
struct Collected {
  std::vector<HPROPSHEETPAGE> pages;
  std::vector<LPARAM> lParams;
};
Collected* collecting = nullptr;
BOOL CALLBACK collectPage(HPROPSHEETPAGE page, LPARAM lParam) {
  collecting->pages.push_back(page);
  collecting->lParams.push_back(lParam);
  return TRUE;
}

std::string windowText(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

void pumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(10);
  }
}

// --- Answering the modal windows the page opens --------------------------

struct ModalAnswer {
  std::string caption;     // the window to wait for
  int answerId;            // the button to press
  std::string screenshot;  // where to keep its picture, or empty
  bool seen = false;
  std::vector<std::string> childTexts;
};
ModalAnswer* answering = nullptr;

BOOL CALLBACK collectChildText(HWND child, LPARAM) {
  answering->childTexts.push_back(windowText(child));
  return TRUE;
}

BOOL CALLBACK findModal(HWND window, LPARAM) {
  if (!IsWindowVisible(window) || windowText(window) != answering->caption) return TRUE;
  answering->seen = true;
  EnumChildWindows(window, collectChildText, 0);
  if (!answering->screenshot.empty()) saveScreenshot(window, answering->screenshot);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(answering->answerId, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, answering->answerId)));
  return FALSE;
}

void CALLBACK answerTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (answering != nullptr && !answering->seen) {
    EnumThreadWindows(GetCurrentThreadId(), findModal, 0);
  }
}

// Clicks a button whose command opens a modal window, and answers it from
// a timer that runs in the window's own message loop.
void clickAndAnswer(HWND button, ModalAnswer& answer) {
  answering = &answer;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, answerTimer);
  SendMessageA(button, BM_CLICK, 0, 0);
  const DWORD start = GetTickCount();
  while (!answer.seen && GetTickCount() - start < waitLimitMs) pumpFor(50);
  pumpFor(200);
  KillTimer(nullptr, timer);
  answering = nullptr;
}

bool hasText(const ModalAnswer& answer, const std::string& text) {
  for (const std::string& t : answer.childTexts) {
    if (t == text) return true;
  }
  return false;
}

// --- The page's controls where template 102 puts them ----------------------

struct PlacedControl {
  int id;
  const char* text;
  int x, y, cx, cy;
};
const PlacedControl placedControls[] = {
    {1013, "&TV output", 142, 131, 70, 24},
    {207, "&I", 58, 40, 30, 30},
    {209, "&J", 18, 80, 30, 30},
    {210, "&K", 98, 80, 29, 30},
    {208, "&M", 58, 120, 30, 30},
    {109, "&Default", 58, 80, 30, 30},
    {1023, "800X600", 152, 57, 45, 10},
    {1024, "640X480", 152, 46, 45, 10},
    {1021, "TV Blank", 152, 76, 45, 10},
};

void checkLayout(HWND page) {
  for (const PlacedControl& c : placedControls) {
    const std::string what = std::string("control ") + std::to_string(c.id);
    HWND control = GetDlgItem(page, c.id);
    check(control != nullptr, what + " exists");
    if (control == nullptr) continue;
    // The dialog manager converts origin and size separately, each rounded
    // on its own, so the template's rectangle is mapped the same way.
    RECT want = {c.x, c.y, c.cx, c.cy};
    MapDialogRect(page, &want);
    RECT got;
    GetWindowRect(control, &got);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&got), 2);
    const bool placed = got.left == want.left && got.top == want.top &&
                        got.right - got.left == want.right && got.bottom - got.top == want.bottom;
    check(placed, what + " where the template puts it",
          "got " + std::to_string(got.left) + "," + std::to_string(got.top) + " " +
              std::to_string(got.right - got.left) + "x" + std::to_string(got.bottom - got.top) +
              ", want " + std::to_string(want.left) + "," + std::to_string(want.top) + " " +
              std::to_string(want.right) + "x" + std::to_string(want.bottom));
    check(windowText(control) == c.text, what + " text", windowText(control));
  }
}

// --- The steps -------------------------------------------------------------

bool registeredClass(CLSID* clsid) {
  char text[64] = "";
  LONG length = sizeof text;
  if (RegQueryValueA(HKEY_LOCAL_MACHINE, handlerKey, text, &length) != ERROR_SUCCESS) return false;
  wchar_t wide[64];
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
  return CLSIDFromString(wide, clsid) == NOERROR;
}

void throughComAlone(const CLSID& clsid, CanUnloadNow* canUnload) {
  IShellPropSheetExt* extension = nullptr;
  const HRESULT created =
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellPropSheetExt,
                       reinterpret_cast<void**>(&extension));
  check(created == S_OK && extension != nullptr, "CoCreateInstance of the registered class",
        hex(created));
  if (extension == nullptr) return;

  HMODULE library = GetModuleHandleA("OBXPage.dll");
  check(library != nullptr, "OBXPage.dll is loaded");
  if (library == nullptr) return;
  *canUnload = procedure<CanUnloadNow>(library, "DllCanUnloadNow");
  check(*canUnload != nullptr, "DllCanUnloadNow is exported by name");
  check(GetProcAddress(library, MAKEINTRESOURCEA(1)) == nullptr, "no ordinal 1");
  check(reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(2))) ==
            reinterpret_cast<void*>(*canUnload),
        "DllCanUnloadNow is ordinal 2");
  check(
      GetProcAddress(library, MAKEINTRESOURCEA(3)) == GetProcAddress(library, "DllGetClassObject"),
      "DllGetClassObject is ordinal 3");
  if (*canUnload == nullptr) return;
  check((*canUnload)() == S_FALSE, "DllCanUnloadNow while an extension lives");

  Collected pages;
  collecting = &pages;
  const LPARAM mine = 0x0BAD5EED;
  check(extension->AddPages(collectPage, mine) == S_OK, "AddPages");
  check(pages.pages.size() == 1, "AddPages made one page", std::to_string(pages.pages.size()));
  check(pages.lParams.size() == 1 && pages.lParams[0] == mine, "AddPages passed lParam on");
  check(extension->Release() == 0, "the last Release gives 0");
  // Windows keeps the library for the live page through pcRefParent;
  // Wine's COMCTL32 does not, so here the count is the objects' alone.
  check((*canUnload)() == S_OK,
        "DllCanUnloadNow with only a page left (Wine's COMCTL32 keeps no pcRefParent)");
  for (HPROPSHEETPAGE page : pages.pages) DestroyPropertySheetPage(page);
  check((*canUnload)() == S_OK, "DllCanUnloadNow after the page is destroyed");
  collecting = nullptr;
}

void throughTheShell(CanUnloadNow canUnload, const std::string& screenshots) {
  HMODULE shell32 = LoadLibraryA("shell32.dll");
  CreateExtArray create = procedure<CreateExtArray>(shell32, MAKEINTRESOURCEA(168));
  AddFromExtArray add = procedure<AddFromExtArray>(shell32, MAKEINTRESOURCEA(167));
  DestroyExtArray destroy = procedure<DestroyExtArray>(shell32, MAKEINTRESOURCEA(169));
  check(create && add && destroy, "shell32 has ordinals 167, 168 and 169");
  if (!(create && add && destroy)) return;

  HANDLE array = create(HKEY_LOCAL_MACHINE, displayKey, 8);
  check(array != nullptr, "SHCreatePropSheetExtArray for the Display handlers");
  if (array == nullptr) return;
  Collected pages;
  collecting = &pages;
  const UINT added = add(array, collectPage, 0);
  collecting = nullptr;
  check(added == 1 && pages.pages.size() == 1, "the shell added one page", std::to_string(added));
  destroy(array);
  // Wine's shell32 never releases the IShellExtInit reference it took, so
  // the extension it made stays alive.
  check(canUnload == nullptr || canUnload() == S_FALSE,
        "DllCanUnloadNow after the array is destroyed (Wine's shell32 keeps IShellExtInit)");
  if (pages.pages.empty()) return;

  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  // The sheet shows its Help button only when asked; the page then
  // enables it with PSP_HASHELP.
  header.dwFlags = PSH_MODELESS | PSH_NOAPPLYNOW | PSH_HASHELP;
  header.pszCaption = "Display Properties";
  header.nPages = static_cast<UINT>(pages.pages.size());
  header.phpage = pages.pages.data();
  HWND sheet = reinterpret_cast<HWND>(PropertySheetA(&header));
  check(sheet != nullptr, "the modeless sheet opens");
  if (sheet == nullptr) return;
  pumpFor(500);

  HWND tabs = PropSheet_GetTabControl(sheet);
  check(TabCtrl_GetItemCount(tabs) == 1, "one tab", std::to_string(TabCtrl_GetItemCount(tabs)));
  char title[64] = "";
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = title;
  item.cchTextMax = sizeof title;
  SendMessageA(tabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  check(strcmp(title, "TV Out") == 0, "the tab is \"TV Out\"", title);

  HWND page = PropSheet_GetCurrentPageHwnd(sheet);
  check(page != nullptr, "the page window exists");
  if (page == nullptr) return;
  checkLayout(page);
  check(saveScreenshot(sheet, screenshots + "\\page.bmp"), "screenshot of the page");

  const struct {
    int id;
    const char* name;
  } plainButtons[] = {{207, "the up arrow"},    {208, "the down arrow"}, {209, "the left arrow"},
                      {210, "the right arrow"}, {109, "Default"},        {1023, "800X600"},
                      {1024, "640X480"},        {1021, "TV Blank"}};
  for (const auto& button : plainButtons) {
    SendMessageA(GetDlgItem(page, button.id), BM_CLICK, 0, 0);
    pumpFor(100);
    check(IsWindow(page) != FALSE, std::string("clicked ") + button.name + ", the page lives");
  }

  ModalAnswer help;
  help.caption = helpCaption;
  help.answerId = IDOK;
  help.screenshot = screenshots + "\\help.bmp";
  clickAndAnswer(GetDlgItem(sheet, sheetHelpButton), help);
  check(help.seen, "Help opens the box captioned \"Ombrix\"");
  check(hasText(help, helpText), "the help box says its text");

  ModalAnswer confirm;
  confirm.caption = "TV out";
  confirm.answerId = IDCANCEL;
  confirm.screenshot = screenshots + "\\tv_confirm.bmp";
  clickAndAnswer(GetDlgItem(page, 1013), confirm);
  check(confirm.seen, "\"&TV output\" opens the \"TV out\" confirmation");
  check(hasText(confirm, "&Cancel") && hasText(confirm, "Ready to output to TV ?"),
        "the confirmation asks and offers \"&Cancel\"");
  check(IsWindow(page) != FALSE, "the page lives after \"&Cancel\"");

  PropSheet_PressButton(sheet, PSBTN_CANCEL);
  const DWORD start = GetTickCount();
  while (PropSheet_GetCurrentPageHwnd(sheet) != nullptr && GetTickCount() - start < waitLimitMs) {
    pumpFor(50);
  }
  check(PropSheet_GetCurrentPageHwnd(sheet) == nullptr, "the sheet is cancelled");
  DestroyWindow(sheet);
  pumpFor(200);
  check(canUnload == nullptr || canUnload() == S_FALSE,
        "DllCanUnloadNow after the sheet (only Wine's kept IShellExtInit is left)");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string screenshots = argc > 1 ? argv[1] : ".";
  InitCommonControls();
  check(SUCCEEDED(CoInitialize(nullptr)), "CoInitialize");
  CLSID clsid;
  const bool registered = registeredClass(&clsid);
  check(registered, "the Display handler names a class");
  CanUnloadNow canUnload = nullptr;
  if (registered) throughComAlone(clsid, &canUnload);
  throughTheShell(canUnload, screenshots);
  CoUninitialize();
  printf("page host: %d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
