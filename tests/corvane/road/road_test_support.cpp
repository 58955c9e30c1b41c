#include "road_test_support.h"

namespace road_test {

namespace {

::testing::Environment* const g_hive = ::testing::AddGlobalTestEnvironment(new LibraryHive(L"road"));

} // namespace

} // namespace road_test
