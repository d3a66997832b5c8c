#pragma once
// Shared by the controller tests: a check that no real controller is plugged in.

#include <gtest/gtest.h>

#include "platform/ControllerSystem.h"

/// Skips the running test when the machine has a real controller, whose presence would change
/// every count the test expects.
#define SKIP_WITH_REAL_CONTROLLERS()                                                \
  do {                                                                              \
    platform::TControllerSystem probe;                                              \
    if (!probe.Ready()) GTEST_SKIP() << "no controller system: " << probe.Error();  \
    probe.Update();                                                                 \
    if (!probe.Attached().empty()) GTEST_SKIP() << "a real controller is attached"; \
  } while (false)
