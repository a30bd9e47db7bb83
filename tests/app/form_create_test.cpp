#include <gtest/gtest.h>

#include "tests/support/fake_program.h"

namespace quorvane {
namespace {

TEST(FormCreate, CompactLayoutAndErrorMode) {
  testing::FakeProgram program;
  EXPECT_EQ(program.form->Height(), 71);
  EXPECT_EQ(program.form->Width(), 616);
  ASSERT_EQ(program.process.error_modes.size(), 1u);
  EXPECT_EQ(program.process.error_modes[0], 0x8001u);
}

}  // namespace
}  // namespace quorvane
