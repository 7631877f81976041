// The test programs' main: GoogleTest's options, and --host=PATH (or --host
// PATH) for the host library the host functions are bound from (see HostPath).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/plugin_library.hpp"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strncmp(argument, "--host=", 7) == 0 && argument[7] != '\0') {
      testing_support::UseHost(argument + 7);
    } else if (std::strcmp(argument, "--host") == 0 && i + 1 < argc) {
      testing_support::UseHost(argv[++i]);
    } else {
      std::fprintf(stderr, "%s: unknown argument \"%s\"; takes GoogleTest's options and --host=PATH\n",
                   argv[0], argument);
      return 2;
    }
  }
  if (testing_support::HostPath() != testing_support::DefaultHostPath()) {
    std::fprintf(stderr, "host library: %s\n", testing_support::HostPath().c_str());
  }
  return RUN_ALL_TESTS();
}
