// Shared helpers of the control tests.
//
// The whole program runs in the scratch hive of tests/support (tag "ui"):
// HKEY_CURRENT_USER and the user's documents folder are scratch places, so
// the library's start-up, the application profile and anything else a
// control keeps there start out empty and never touch the real ones.
#pragma once
#include "support/Scratch.h"
#include "support/WindowTest.h"
#include <gtest/gtest.h>
