#include "platform/host/control.h"

namespace host {

void resetHost() {
  clearJournal();
  emulatedCrtc().reset();
}

}  // namespace host
