// The user-interface part of the stand-in, as tests see it: windows with
// small control records, modal dialogs run through their real dialog
// procedure by a scripted user, message boxes with scripted answers,
// bitmaps counted per handle, the screen width and the display-mode
// changes. Each platform call also appends to the journal.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/host/win32_host.h"

namespace host {

// A module handle for tests: distinct per number, fits in 32 bits as the
// GWL_HINSTANCE window long needs.
HINSTANCE fakeModule(unsigned number);

// What a window's child control shows: its check state and its image.
struct Control {
  UINT checked = BST_UNCHECKED;
  WPARAM imageType = 0;
  LPARAM image = 0;
  bool imageSet = false;
};

// A window that a test drives itself, as a property sheet drives its
// page: GetWindowLongA(GWL_HINSTANCE) gives module.
HWND createWindow(HINSTANCE module);
// The control record of a window's child; made on first use.
Control& control(HWND window, int controlId);
// What an auto radio button does itself when clicked: checks itself and
// unchecks the others of its group. It sends no message.
void clickAutoRadioButton(HWND window, int controlId, const std::vector<int>& group);
// Whether EndDialog was called for the window, and with what.
bool dialogEnded(HWND window);
INT_PTR dialogEndResult(HWND window);

// One message that the dialog manager delivers for the user.
struct UserAction {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
UserAction clickButton(int controlId);  // WM_COMMAND, BN_CLICKED
UserAction pressEnter();                // WM_COMMAND, IDOK
UserAction pressEscape();               // WM_COMMAND, IDCANCEL

// The next dialog made from templateId gets these actions, in order,
// after its WM_INITDIALOG, until its procedure calls EndDialog.
void scriptDialog(WORD templateId, const std::vector<UserAction>& actions);
// The next dialog made from templateId cannot be created:
// DialogBoxParamA gives -1 and calls no procedure.
void failDialogCreation(WORD templateId);

struct DeliveredMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  INT_PTR result;  // what the dialog procedure returned
};

struct DialogRun {
  HINSTANCE module;
  WORD templateId;
  HWND owner;
  LPARAM initParam;
  HWND dialog;  // null when creation failed
  std::vector<DeliveredMessage> messages;
  INT_PTR result;
};
const std::vector<DialogRun>& dialogRuns();

struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
// Answers of the coming message boxes, in order; IDOK once they run out.
void scriptMessageBoxAnswer(int answer);
const std::vector<MessageBoxRecord>& messageBoxes();

// The bitmap resources a module holds; LoadBitmapA gives 0 for any other.
void addBitmapResource(HINSTANCE module, WORD bitmapId);
struct LoadedBitmap {
  HINSTANCE module;
  WORD bitmapId;
  bool live;
};
// The bitmap behind a handle LoadBitmapA gave, or null.
const LoadedBitmap* loadedBitmap(LPARAM handle);
const LoadedBitmap* loadedBitmap(HGDIOBJ handle);
size_t liveBitmapCount();
size_t loadedBitmapCount();  // live or deleted

// The screen in the mode in use, as GetSystemMetrics reports it.
void setScreenSize(int width, int height);

struct ModeChange {
  DEVMODEA mode;  // the whole record as passed, zeros if the pointer was null
  bool hadMode;
  DWORD flags;
  uint64_t sequence;  // the journal record's
};
void setChangeDisplaySettingsResult(LONG result);
const std::vector<ModeChange>& modeChanges();

// The screen's colour depth, as GetDeviceCaps(BITSPIXEL) reports it on a
// DC of the screen (8 until set).
void setBitsPerPixel(int bitsPerPixel);
// Screen DCs that GetDC gave and ReleaseDC has not taken back.
size_t liveDeviceContextCount();

// ExitWindowsEx calls, in order; each answers result (TRUE until set).
struct ExitWindowsRequest {
  UINT flags;
  DWORD reserved;
};
const std::vector<ExitWindowsRequest>& exitWindowsRequests();
void setExitWindowsResult(BOOL result);

// Misuse the stand-in caught: a bitmap deleted twice or never loaded,
// EndDialog on an unknown window, a DC released twice or never got, a
// GetDeviceCaps on a DC not live, a dialog still open when its script ran
// out. Tests expect none.
const std::vector<std::string>& userInterfaceFaults();

void resetUserInterface();

}  // namespace host
