#include "page/tv_output_switch.h"

#include <string.h>

#include "page/crtc_registers.h"
#include "page/resources/resource_ids.h"
#include "page/screen_position.h"
#include "page/tv_confirm_dialog.h"

namespace {

// Windows 95 knows DEVMODEA up to dmReserved2; newer SDKs' sizeof is larger
// and Windows 95 refuses a record that claims more.
const WORD windows95DevModeSize = 148;
const DWORD tvDisplayFrequency = 60;

// One TV resolution: the mode asked for and the CRT controller timing
// written after it. The 640x480 timing leaves the horizontal blank and
// retrace as the mode change set them.
struct TvTiming {
  DWORD pelsWidth;
  DWORD pelsHeight;
  uint8_t horizontalTotal;
  bool setsHorizontalBlankAndRetrace;
  uint8_t horizontalBlankStart;
  uint8_t horizontalBlankEnd;
  uint8_t horizontalRetraceStart;
  uint8_t horizontalRetraceEnd;
  uint16_t verticalTotal;
  uint16_t verticalDisplayEnd;
  uint16_t verticalRetraceStart;
  uint8_t verticalRetraceEnd;
  uint16_t verticalBlankStart;
  uint16_t verticalBlankEnd;
};

const TvTiming tv640x480 = {640, 480, 100, false, 0, 0, 0, 0, 625, 479, 515, 5, 481, 623};
const TvTiming tv800x600 = {800, 600, 160, true, 101, 158, 120, 130, 625, 599, 611, 101, 600, 623};

void changeDisplayMode(const TvTiming& timing) {
  DEVMODEA mode;
  memset(&mode, 0, sizeof mode);
  mode.dmSize = windows95DevModeSize;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  mode.dmPelsWidth = timing.pelsWidth;
  mode.dmPelsHeight = timing.pelsHeight;
  mode.dmDisplayFrequency = tvDisplayFrequency;
  // A refused mode is not noticed: the timing goes to the mode in use.
  ChangeDisplaySettingsA(&mode, CDS_UPDATEREGISTRY);
}

void runTimingProgramme(const TvTiming& timing) {
  moduleCrtc.setHorizontalTotal(timing.horizontalTotal);
  if (timing.setsHorizontalBlankAndRetrace) {
    moduleCrtc.setHorizontalBlankStart(timing.horizontalBlankStart);
    moduleCrtc.setHorizontalBlankEnd(timing.horizontalBlankEnd);
    moduleCrtc.setHorizontalRetraceStart(timing.horizontalRetraceStart);
    moduleCrtc.setHorizontalRetraceEnd(timing.horizontalRetraceEnd);
  }
  moduleCrtc.setVerticalTotal(timing.verticalTotal);
  moduleCrtc.setVerticalDisplayEnd(timing.verticalDisplayEnd);
  moduleCrtc.setVerticalRetraceStart(timing.verticalRetraceStart);
  moduleCrtc.setVerticalRetraceEnd(timing.verticalRetraceEnd);
  moduleCrtc.setVerticalBlankStart(timing.verticalBlankStart);
  moduleCrtc.setVerticalBlankEnd(timing.verticalBlankEnd);
}

HINSTANCE moduleOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(static_cast<LONG_PTR>(GetWindowLongA(window, GWL_HINSTANCE)));
}

}  // namespace

void TvOutputSwitch(HWND pageWindow, int tv800x600Selected) {
  const bool wide = tv800x600Selected == 1;
  const TvTiming& timing = wide ? tv800x600 : tv640x480;

  modulePosition.reset();
  const INT_PTR answer = DialogBoxParamA(moduleOf(pageWindow), MAKEINTRESOURCEA(IDD_TV_CONFIRM),
                                         pageWindow, TvConfirmDialog, 0);
  // Only a real "&Yes" switches: a dialog that could not be created (-1)
  // asked nobody, so it counts as "&Cancel".
  if (answer == tvConfirmYes) {
    changeDisplayMode(timing);
    runTimingProgramme(timing);
  }
  moduleCrtc.setSyncWidth(Normal, wide);
}
