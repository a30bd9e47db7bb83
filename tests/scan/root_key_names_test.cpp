#include "scan/root_key_names.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(RootKeyLongName, TheFiveRootsAndNothingElse) {
  EXPECT_EQ(RootKeyLongName(RootKey::ClassesRoot), "HKEY_CLASSES_ROOT");
  EXPECT_EQ(RootKeyLongName(RootKey::CurrentUser), "HKEY_CURRENT_USER");
  EXPECT_EQ(RootKeyLongName(RootKey::LocalMachine), "HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RootKeyLongName(RootKey::Users), "HKEY_USERS");
  EXPECT_EQ(RootKeyLongName(RootKey::CurrentConfig), "HKEY_CURRENT_CONFIG");
  // HKEY_PERFORMANCE_DATA and HKEY_DYN_DATA lie between and after them.
  for (uint32_t handle : {0x80000004u, 0x80000006u, 0x7FFFFFFFu, 0u, 0xFFFFFFFFu})
    EXPECT_EQ(RootKeyLongName(static_cast<RootKey>(handle)), "") << std::hex << handle;
}

}  // namespace
}  // namespace quorvane
