// Whether two class or interface identifiers are the same: all 16 bytes,
// byte by byte.
#pragma once

#include "platform/win32.h"

bool sameIdentifier(const GUID& a, const GUID& b);
