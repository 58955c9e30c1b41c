// Shared helpers of the platform tests: the scratch world of tests/support
// (every test of this program runs in a scratch hive) and a probe for
// Chinese file names.
#pragma once
#include "support/Scratch.h"

namespace platform_test {

using namespace test_support;

// The documents folder of the scratch hive (long form).
CString DocumentsFolder();
// Whether this machine's file system takes Chinese file names (Wine needs
// the host's Chinese locale for them).
bool ChineseFileNamesWork();
#define SKIP_WITHOUT_CHINESE_FILE_NAMES()                                                                         \
    if (!platform_test::ChineseFileNamesWork())                                                                   \
    GTEST_SKIP() << "Chinese file names cannot be created here (the host lacks the zh_CN.UTF-8 locale)"

} // namespace platform_test
