// One session per test process; every test in it shares that session.
#include <gtest/gtest.h>

#include <iostream>
#include <memory>

#include "startwin_test.h"

namespace e2e {

namespace {
std::unique_ptr<Session> theSession;
}

Session& session() { return *theSession; }

}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  int result = 1;
  try {
    e2e::SessionConfig config = e2e::SessionConfig::fromEnvironment();
    std::cout << "e2e: the " << config.build << " build from " << config.programDir << ", screen "
              << config.screenWidth << "x" << config.screenHeight << ", waits scaled by " << config.timeScale
              << std::endl;
    e2e::theSession = std::make_unique<e2e::Session>(config);
    result = RUN_ALL_TESTS();
  } catch (const std::exception& e) {
    std::cerr << "e2e: cannot run the end-to-end tests: " << e.what() << std::endl;
    result = 1;
  }
  e2e::theSession.reset();
  return result;
}
