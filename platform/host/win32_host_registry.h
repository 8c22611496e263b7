// Stand-in declarations: registry. Filled as the product comes to use them.
#pragma once

#include "platform/host/win32_host_types.h"
