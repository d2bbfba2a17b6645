// The Windows test program: GoogleTest under Wine, against real files on the
// test drive T:.
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  // A missing drive must fail quietly, not ask the user to insert a disk.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
