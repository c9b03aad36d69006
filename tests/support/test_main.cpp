// The main of every test program: the tests run under the evaluation rule,
// as the program does from its first step.
#include <gtest/gtest.h>

#include "calc/fp_environment.h"

int main(int argc, char** argv) {
  kalvoro::set_evaluation_environment();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
