#include "platform/host/user_interface.h"

#include <stdio.h>
#include <string.h>

#include <deque>
#include <map>

#include "platform/host/journal.h"

namespace host {

namespace {

// Handles are numbers in ranges of their own, so that one kind is never
// taken for another; none is ever dereferenced.
const uintptr_t moduleBase = 0x00400000;
const uintptr_t windowBase = 0x00010000;
const uintptr_t bitmapBase = 0x00200000;
const uintptr_t deviceContextBase = 0x00300000;
const uintptr_t handleStep = 4;
const int defaultScreenWidth = 640;
const int defaultScreenHeight = 480;
const INT_PTR dialogNotCreated = -1;
const int defaultBitsPerPixel = 8;

struct Window {
  HINSTANCE module = nullptr;
  std::map<int, Control> controls;
  bool ended = false;
  INT_PTR endResult = 0;
};

struct DialogScript {
  bool failCreation = false;
  std::vector<UserAction> actions;
};

struct State {
  std::deque<Window> windows;  // references to controls stay valid
  std::map<WORD, std::deque<DialogScript>> scripts;
  std::vector<DialogRun> runs;
  std::deque<int> messageBoxAnswers;
  std::vector<MessageBoxRecord> messageBoxes;
  std::map<uintptr_t, std::vector<WORD>> bitmapResources;
  std::vector<LoadedBitmap> bitmaps;
  int screenWidth = defaultScreenWidth;
  int screenHeight = defaultScreenHeight;
  LONG displaySettingsResult = DISP_CHANGE_SUCCESSFUL;
  std::vector<ModeChange> modeChanges;
  int bitsPerPixel = defaultBitsPerPixel;
  std::vector<bool> deviceContexts;  // one per GetDC, true while live
  std::vector<ExitWindowsRequest> exitWindowsRequests;
  BOOL exitWindowsResult = TRUE;
  std::vector<std::string> faults;
};

State& state() {
  static State all;
  return all;
}

std::string hex(uintptr_t value) {
  char buffer[24];
  snprintf(buffer, sizeof buffer, "0x%08lX", static_cast<unsigned long>(value));
  return buffer;
}

std::string handleText(const void* handle) { return hex(reinterpret_cast<uintptr_t>(handle)); }

// A resource name is an identifier when its high bits are 0.
bool isIntResource(LPCSTR name) { return (reinterpret_cast<uintptr_t>(name) >> 16) == 0; }

std::string resourceText(LPCSTR name) {
  if (isIntResource(name)) return std::to_string(reinterpret_cast<uintptr_t>(name));
  return quoted(name);
}

Window* findWindow(HWND handle) {
  uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  if (value < windowBase || (value - windowBase) % handleStep != 0) return nullptr;
  size_t index = (value - windowBase) / handleStep;
  if (index == 0 || index > state().windows.size()) return nullptr;
  return &state().windows[index - 1];
}

LoadedBitmap* findBitmap(uintptr_t value) {
  if (value < bitmapBase || (value - bitmapBase) % handleStep != 0) return nullptr;
  size_t index = (value - bitmapBase) / handleStep;
  if (index == 0 || index > state().bitmaps.size()) return nullptr;
  return &state().bitmaps[index - 1];
}

void fault(const std::string& text) { state().faults.push_back(text); }

// The index of the DC behind a handle GetDC gave, or -1.
long deviceContextIndex(HDC dc) {
  uintptr_t value = reinterpret_cast<uintptr_t>(dc);
  if (value < deviceContextBase || (value - deviceContextBase) % handleStep != 0) return -1;
  size_t index = (value - deviceContextBase) / handleStep;
  if (index == 0 || index > state().deviceContexts.size()) return -1;
  return static_cast<long>(index - 1);
}

UserAction command(WORD id) { return {WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0}; }

}  // namespace

HINSTANCE fakeModule(unsigned number) {
  return reinterpret_cast<HINSTANCE>(moduleBase * (number + 1));
}

HWND createWindow(HINSTANCE module) {
  state().windows.push_back(Window());
  state().windows.back().module = module;
  return reinterpret_cast<HWND>(windowBase + handleStep * state().windows.size());
}

Control& control(HWND window, int controlId) {
  static Control nowhere;
  Window* found = findWindow(window);
  if (found == nullptr) {
    fault("control " + std::to_string(controlId) + " of unknown window " + handleText(window));
    nowhere = Control();
    return nowhere;
  }
  return found->controls[controlId];
}

void clickAutoRadioButton(HWND window, int controlId, const std::vector<int>& group) {
  for (int member : group) control(window, member).checked = BST_UNCHECKED;
  control(window, controlId).checked = BST_CHECKED;
}

bool dialogEnded(HWND window) {
  Window* found = findWindow(window);
  return found != nullptr && found->ended;
}

INT_PTR dialogEndResult(HWND window) {
  Window* found = findWindow(window);
  return found != nullptr ? found->endResult : 0;
}

UserAction clickButton(int controlId) { return command(static_cast<WORD>(controlId)); }
UserAction pressEnter() { return command(IDOK); }
UserAction pressEscape() { return command(IDCANCEL); }

void scriptDialog(WORD templateId, const std::vector<UserAction>& actions) {
  DialogScript script;
  script.actions = actions;
  state().scripts[templateId].push_back(script);
}

void failDialogCreation(WORD templateId) {
  DialogScript script;
  script.failCreation = true;
  state().scripts[templateId].push_back(script);
}

const std::vector<DialogRun>& dialogRuns() { return state().runs; }

void scriptMessageBoxAnswer(int answer) { state().messageBoxAnswers.push_back(answer); }
const std::vector<MessageBoxRecord>& messageBoxes() { return state().messageBoxes; }

void addBitmapResource(HINSTANCE module, WORD bitmapId) {
  state().bitmapResources[reinterpret_cast<uintptr_t>(module)].push_back(bitmapId);
}

const LoadedBitmap* loadedBitmap(LPARAM handle) {
  return findBitmap(static_cast<uintptr_t>(handle));
}

const LoadedBitmap* loadedBitmap(HGDIOBJ handle) {
  return findBitmap(reinterpret_cast<uintptr_t>(handle));
}

size_t liveBitmapCount() {
  size_t live = 0;
  for (const LoadedBitmap& bitmap : state().bitmaps) live += bitmap.live ? 1 : 0;
  return live;
}

size_t loadedBitmapCount() { return state().bitmaps.size(); }

void setScreenSize(int width, int height) {
  state().screenWidth = width;
  state().screenHeight = height;
}

void setChangeDisplaySettingsResult(LONG result) { state().displaySettingsResult = result; }
const std::vector<ModeChange>& modeChanges() { return state().modeChanges; }

void setBitsPerPixel(int bitsPerPixel) { state().bitsPerPixel = bitsPerPixel; }

size_t liveDeviceContextCount() {
  size_t live = 0;
  for (bool dc : state().deviceContexts) live += dc ? 1 : 0;
  return live;
}

const std::vector<ExitWindowsRequest>& exitWindowsRequests() { return state().exitWindowsRequests; }
void setExitWindowsResult(BOOL result) { state().exitWindowsResult = result; }

const std::vector<std::string>& userInterfaceFaults() { return state().faults; }

void resetUserInterface() { state() = State(); }

}  // namespace host

using namespace host;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProcedure, LPARAM initParam) {
  journal("DialogBoxParamA(" + handleText(instance) + ", " + resourceText(templateName) + ", " +
          handleText(owner) + ", " + (dialogProcedure != nullptr ? "procedure" : "NULL") + ", " +
          std::to_string(initParam) + ")");
  DialogRun run = {instance, 0, owner, initParam, nullptr, {}, dialogNotCreated};
  DialogScript script;
  if (isIntResource(templateName)) {
    run.templateId = static_cast<WORD>(reinterpret_cast<uintptr_t>(templateName));
    std::deque<DialogScript>& queue = state().scripts[run.templateId];
    if (!queue.empty()) {
      script = queue.front();
      queue.pop_front();
    }
  }
  if (script.failCreation || dialogProcedure == nullptr) {
    state().runs.push_back(run);
    return dialogNotCreated;
  }
  run.dialog = createWindow(instance);
  std::vector<UserAction> delivered = {{WM_INITDIALOG, 0, initParam}};
  delivered.insert(delivered.end(), script.actions.begin(), script.actions.end());
  for (const UserAction& action : delivered) {
    INT_PTR result = dialogProcedure(run.dialog, action.message, action.wParam, action.lParam);
    run.messages.push_back({action.message, action.wParam, action.lParam, result});
    if (findWindow(run.dialog)->ended) break;
  }
  Window* dialog = findWindow(run.dialog);
  if (dialog->ended) {
    run.result = dialog->endResult;
  } else {
    fault("dialog " + std::to_string(run.templateId) + " still open when its script ran out");
    run.result = 0;
  }
  state().runs.push_back(run);
  return run.result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  journal("EndDialog(" + handleText(dialog) + ", " + std::to_string(result) + ")");
  Window* found = findWindow(dialog);
  if (found == nullptr) {
    fault("EndDialog on unknown window " + handleText(dialog));
    return FALSE;
  }
  found->ended = true;
  found->endResult = result;
  return TRUE;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  journal("MessageBoxA(" + handleText(owner) + ", " + quoted(text) + ", " + quoted(caption) + ", " +
          hex(type) + ")");
  state().messageBoxes.push_back(
      {owner, text != nullptr ? text : "", caption != nullptr ? caption : "", type});
  int answer = IDOK;
  if (!state().messageBoxAnswers.empty()) {
    answer = state().messageBoxAnswers.front();
    state().messageBoxAnswers.pop_front();
  }
  return answer;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int buttonId, UINT check) {
  journal("CheckDlgButton(" + handleText(dialog) + ", " + std::to_string(buttonId) + ", " +
          std::to_string(check) + ")");
  if (findWindow(dialog) == nullptr) {
    fault("CheckDlgButton on unknown window " + handleText(dialog));
    return FALSE;
  }
  control(dialog, buttonId).checked = check;
  return TRUE;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int itemId, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
  journal("SendDlgItemMessageA(" + handleText(dialog) + ", " + std::to_string(itemId) + ", " +
          hex(message) + ", " + std::to_string(wParam) + ", " +
          hex(static_cast<uintptr_t>(lParam)) + ")");
  if (findWindow(dialog) == nullptr) {
    fault("SendDlgItemMessageA to unknown window " + handleText(dialog));
    return 0;
  }
  Control& item = control(dialog, itemId);
  switch (message) {
    case BM_SETIMAGE: {
      LRESULT previous = item.image;
      item.imageType = wParam;
      item.image = lParam;
      item.imageSet = true;
      return previous;
    }
    case BM_GETCHECK:
      return item.checked;
    case BM_SETCHECK:
      item.checked = static_cast<UINT>(wParam);
      return 0;
  }
  return 0;
}

LONG WINAPI GetWindowLongA(HWND window, int index) {
  journal("GetWindowLongA(" + handleText(window) + ", " + std::to_string(index) + ")");
  Window* found = findWindow(window);
  if (found == nullptr || index != GWL_HINSTANCE) return 0;
  return static_cast<LONG>(reinterpret_cast<uintptr_t>(found->module));
}

int WINAPI GetSystemMetrics(int index) {
  journal("GetSystemMetrics(" + std::to_string(index) + ")");
  if (index == SM_CXSCREEN) return state().screenWidth;
  if (index == SM_CYSCREEN) return state().screenHeight;
  return 0;
}

HDC WINAPI GetDC(HWND window) {
  std::string text = "GetDC(" + handleText(window) + ")";
  if (window != nullptr) {
    // Only the screen's DC is stood in for.
    journal(text + " = NULL");
    return nullptr;
  }
  state().deviceContexts.push_back(true);
  HDC dc = reinterpret_cast<HDC>(deviceContextBase + handleStep * state().deviceContexts.size());
  journal(text + " = " + handleText(dc));
  return dc;
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  journal("ReleaseDC(" + handleText(window) + ", " + handleText(dc) + ")");
  long index = deviceContextIndex(dc);
  if (index < 0 || window != nullptr) {
    fault("ReleaseDC of " + handleText(dc) + " for window " + handleText(window) +
          ", which no GetDC(NULL) gave");
    return 0;
  }
  if (!state().deviceContexts[static_cast<size_t>(index)]) {
    fault("ReleaseDC of " + handleText(dc) + " released before");
    return 0;
  }
  state().deviceContexts[static_cast<size_t>(index)] = false;
  return 1;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
  long found = deviceContextIndex(dc);
  int result = 0;
  if (found < 0 || !state().deviceContexts[static_cast<size_t>(found)]) {
    fault("GetDeviceCaps on " + handleText(dc) + ", which is not a live DC");
  } else if (index == BITSPIXEL) {
    result = state().bitsPerPixel;
  }
  journal("GetDeviceCaps(" + handleText(dc) + ", " + std::to_string(index) +
          ") = " + std::to_string(result));
  return result;
}

BOOL WINAPI ExitWindowsEx(UINT flags, DWORD reserved) {
  journal("ExitWindowsEx(" + hex(flags) + ", " + std::to_string(reserved) + ")");
  state().exitWindowsRequests.push_back({flags, reserved});
  return state().exitWindowsResult;
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE instance, LPCSTR bitmapName) {
  journal("LoadBitmapA(" + handleText(instance) + ", " + resourceText(bitmapName) + ")");
  if (!isIntResource(bitmapName)) return nullptr;
  WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(bitmapName));
  const std::vector<WORD>& held = state().bitmapResources[reinterpret_cast<uintptr_t>(instance)];
  bool present = false;
  for (WORD candidate : held) present = present || candidate == id;
  if (!present) return nullptr;
  state().bitmaps.push_back({instance, id, true});
  return reinterpret_cast<HBITMAP>(bitmapBase + handleStep * state().bitmaps.size());
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  journal("DeleteObject(" + handleText(object) + ")");
  if (object == nullptr) return FALSE;
  LoadedBitmap* bitmap = findBitmap(reinterpret_cast<uintptr_t>(object));
  if (bitmap == nullptr) {
    fault("DeleteObject of " + handleText(object) + ", which no LoadBitmapA gave");
    return FALSE;
  }
  if (!bitmap->live) {
    fault("DeleteObject of bitmap " + std::to_string(bitmap->bitmapId) + " deleted before");
    return FALSE;
  }
  bitmap->live = false;
  return TRUE;
}

LONG WINAPI ChangeDisplaySettingsA(LPDEVMODEA mode, DWORD flags) {
  ModeChange change;
  memset(&change.mode, 0, sizeof change.mode);
  change.hadMode = mode != nullptr;
  change.flags = flags;
  std::string text = "ChangeDisplaySettingsA(";
  if (mode != nullptr) {
    change.mode = *mode;
    text += std::to_string(mode->dmPelsWidth) + "x" + std::to_string(mode->dmPelsHeight) + " " +
            std::to_string(mode->dmDisplayFrequency) + " Hz";
  } else {
    text += "NULL";
  }
  text += ", " + hex(flags) + ")";
  // The platform reads the record's first dmSize bytes.
  size_t length = mode != nullptr ? mode->dmSize : 0;
  if (length > sizeof *mode) length = sizeof *mode;
  change.sequence = journal(text, mode, length);
  state().modeChanges.push_back(change);
  return state().displaySettingsResult;
}
