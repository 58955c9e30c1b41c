// Shared helpers of the road-model tests: the scratch world of tests/support
// (the whole program runs in a scratch hive, and the library starts inside
// it with no registered project), data-file texts, and the station settings
// of the library's current project.
#pragma once
#include "support/LibraryWorld.h"
#include <string>

namespace road_test {

using namespace test_support;

} // namespace road_test

