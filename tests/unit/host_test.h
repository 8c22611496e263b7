// Base fixture of the unit tier: every test starts from a fresh stand-in.
#pragma once

#include <gtest/gtest.h>

#include "platform/host/control.h"

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override { host::resetHost(); }
};
