#include "ui_test_support.h"

namespace {

::testing::Environment* const g_world =
    ::testing::AddGlobalTestEnvironment(new test_support::ScratchHive(L"ui"));

} // namespace
