// Fonts and icons can be read only from inside the program's own process:
// startwin-inprocess-test.exe runs the real program in its process and, once
// start-up is done, checks them; each failed check sets one bit of its exit
// status.
#include "startwin_test.h"

namespace e2e {
namespace {

constexpr const char* kChecks[] = {
    "the window and its button exist",
    "the window keeps the default GUI font",
    "the button uses the default GUI font",
    "the large icon is the shared 32x32 DEFAULT_ICON",
    "the small icon is the shared 16x16 DEFAULT_ICON",
    "the icons are 32 and 16 pixels wide",
    "the window class paints no background",
    "the window is active and the button has the focus",
};

class InsideTheProcess : public StartwinTest {};

TEST_F(InsideTheProcess, FontsIconsAndFocus) {
  ProbeClient::Launched launched = probe().launch(session().program("startwin-inprocess-test.exe"));
  std::optional<std::uint32_t> status = probe().wait(launched.pid, static_cast<unsigned>(timeout().count()));
  ASSERT_TRUE(status) << "the in-process checks did not end";
  for (std::uint32_t bit = 0; bit < std::size(kChecks); ++bit) {
    EXPECT_EQ(*status & (1u << bit), 0u) << "failed: " << kChecks[bit];
  }
  EXPECT_EQ(hex32(*status), hex32(0));
}

}  // namespace
}  // namespace e2e
