// The Wine tier's hands and eyes for the driver tools (test code, never
// shipped; built with the ordinary MinGW runtime).
//
//   drivertools_driver query HKLM|HKCU <path> <value>
//       prints "<type> <length> <hex bytes>" of the value as RegQueryValueExA
//       gives it, or "missing".
//   drivertools_driver run <answers> <program> [<tail>]
//       starts <program> with the tail, watches the windows it opens, and
//       prints one line per window ("window <caption>", then "text <text>"
//       for each static control). Its information dialog gets IDCANCEL
//       first (which must leave it open: "still open after IDCANCEL"),
//       then OK; each message box gets the next answer of <answers>, a
//       string of Y and N. Ends with "exit <code>".
//   With OBX_SCREENSHOTS naming a folder, "run" also keeps the picture of
//   each window there, as window-1.bmp, window-2.bmp, ... in the order seen.
//   When started as wineboot.exe (placed over Wine's own to intercept
//   ExitWindowsEx), appends its command line to C:\wineboot-calls.txt.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "tests/wine/window_screenshot.h"

namespace {

const char restoreCaption[] = "Restore your display driver";
const DWORD pollMilliseconds = 50;
const DWORD settleMilliseconds = 300;
const DWORD runLimitMilliseconds = 60000;

std::string windowText(HWND window) {
  char text[1024];
  GetWindowTextA(window, text, sizeof text);
  return text;
}

struct Watch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context) {
  Watch* watch = reinterpret_cast<Watch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == watch->processId && IsWindowVisible(window)) watch->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK printStatic(HWND child, LPARAM) {
  char className[64];
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) printf("text %s\n", windowText(child).c_str());
  return TRUE;
}

int query(const char* root, const char* path, const char* name) {
  HKEY parent = strcmp(root, "HKCU") == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  HKEY key;
  if (RegOpenKeyExA(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    printf("missing\n");
    return 0;
  }
  BYTE data[4096];
  DWORD length = sizeof data;
  DWORD type = 0;
  if (RegQueryValueExA(key, name, NULL, &type, data, &length) != ERROR_SUCCESS) {
    printf("missing\n");
  } else {
    printf("%lu %lu", static_cast<unsigned long>(type), static_cast<unsigned long>(length));
    for (DWORD i = 0; i < length; ++i) printf(" %02x", data[i]);
    printf("\n");
  }
  RegCloseKey(key);
  return 0;
}

void answer(HWND window, const std::string& caption, const char*& answers) {
  if (caption == restoreCaption) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    Sleep(settleMilliseconds);
    if (IsWindow(window)) printf("still open after IDCANCEL\n");
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return;
  }
  const bool yes = *answers == 'Y';
  if (*answers != '\0') ++answers;
  printf("answer %s\n", yes ? "Yes" : "No");
  PostMessageA(window, WM_COMMAND, yes ? IDYES : IDNO, 0);
}

int run(const char* answers, const char* program, const char* tail) {
  std::string commandLine = std::string("\"") + program + "\"";
  if (tail != NULL) commandLine += std::string(" ") + tail;
  STARTUPINFOA startup;
  memset(&startup, 0, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                      &process)) {
    printf("cannot start %s\n", program);
    return 2;
  }
  const char* shots = getenv("OBX_SCREENSHOTS");
  std::set<HWND> seen;
  DWORD waited = 0;
  while (WaitForSingleObject(process.hProcess, pollMilliseconds) == WAIT_TIMEOUT) {
    waited += pollMilliseconds;
    if (waited > runLimitMilliseconds) {
      printf("still running after %lu ms\n", static_cast<unsigned long>(waited));
      TerminateProcess(process.hProcess, 3);
      break;
    }
    Watch watch = {process.dwProcessId, {}};
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&watch));
    for (HWND window : watch.found) {
      if (seen.count(window) != 0) continue;
      seen.insert(window);
      Sleep(settleMilliseconds);  // let it finish its WM_INITDIALOG
      const std::string caption = windowText(window);
      printf("window %s\n", caption.c_str());
      if (shots != NULL) {
        saveScreenshot(window,
                       std::string(shots) + "\\window-" + std::to_string(seen.size()) + ".bmp");
      }
      EnumChildWindows(window, printStatic, 0);
      answer(window, caption, answers);
    }
    fflush(stdout);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  printf("exit %lu\n", static_cast<unsigned long>(code));
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}

bool startedAsWineboot(const char* argv0) {
  const char* base = strrchr(argv0, '\\');
  base = base != NULL ? base + 1 : argv0;
  return lstrcmpiA(base, "wineboot.exe") == 0 || lstrcmpiA(base, "wineboot") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 0 && startedAsWineboot(argv[0])) {
    FILE* calls = fopen("C:\\wineboot-calls.txt", "a");
    if (calls != NULL) {
      fprintf(calls, "%s\n", GetCommandLineA());
      fclose(calls);
    }
    return 0;
  }
  if (argc == 5 && strcmp(argv[1], "query") == 0) return query(argv[2], argv[3], argv[4]);
  if ((argc == 4 || argc == 5) && strcmp(argv[1], "run") == 0)
    return run(argv[2], argv[3], argc == 5 ? argv[4] : NULL);
  fprintf(stderr, "usage: drivertools_driver query ROOT PATH VALUE | run ANSWERS PROGRAM [TAIL]\n");
  return 2;
}
