// Tests that need a service of the run (the PostgreSQL server, the PDF
// printer, a data-source file) skip without it when run by hand; in the
// suite (tools/test.sh sets SHEETDESK_REQUIRE_SERVICES=1) a missing service
// fails the test instead, so a run can never pass by skipping.
#pragma once

#include <cstdlib>

#include <gtest/gtest.h>

inline bool ServicesRequired() {
  const char* value = std::getenv("SHEETDESK_REQUIRE_SERVICES");
  return value && value[0] == '1';
}

// Use where GTEST_SKIP would be (SetUp or a test body): returns from there.
#define SKIP_WITHOUT_SERVICE(why)                                      \
  do {                                                                 \
    if (ServicesRequired()) GTEST_FAIL() << "missing service: " << why; \
    GTEST_SKIP() << why;                                               \
  } while (0)
