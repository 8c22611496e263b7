#include "platform/host/control.h"

namespace host {

void resetHost() {
  clearJournal();
  emulatedCrtc().reset();
  resetRegistry();
  resetProfiles();
  resetUserInterface();
  resetPropertySheets();
}

}  // namespace host
