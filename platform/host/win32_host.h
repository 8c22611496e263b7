// The host build's stand-in for the Win32 SDK: just the names the product
// uses, written here with their published values. Each part of the platform
// has its own header; this one gathers them.
#pragma once

#include "platform/host/win32_host_types.h"
#include "platform/host/win32_host_kernel.h"
#include "platform/host/win32_host_registry.h"
#include "platform/host/win32_host_user.h"
#include "platform/host/win32_host_com.h"
