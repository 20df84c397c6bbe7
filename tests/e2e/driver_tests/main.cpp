#include <gtest/gtest.h>

#include <cstring>

#include "tests/e2e/driver_tests/target_program.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], target::kServeFlag) == 0) return target::Serve(argv[2]);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
