// What tests use to reach the stand-in's state. Only tests include this.
#pragma once

#include "platform/host/emulated_crtc.h"
#include "platform/host/journal.h"
#include "platform/host/profile_standin.h"
#include "platform/host/property_sheet_standin.h"
#include "platform/host/registry_standin.h"
#include "platform/host/user_interface.h"

namespace host {

// Puts every part of the stand-in back to its state at start: empty
// journal, controller registers 0, and the other parts' own resets.
void resetHost();

}  // namespace host
