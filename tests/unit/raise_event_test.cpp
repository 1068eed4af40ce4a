// Finding and running an element's bound handler.

#include <sstream>

#include "lifecycle/lifecycle_state.h"
#include "startup_window/raise_event.h"
#include "tests/unit/test_templates.h"

namespace {

constexpr ControlId kButton = 0x16010002;

void RecordArgs(EventArgs args) {
  std::ostringstream text;
  text << "args";
  for (int i = 0; i < args.count; ++i) text << ' ' << args.values[i];
  gFake->Record(text.str());
}

struct Lookup {
  const char* name;
  ControlId templateId;
  ControlId elementId;
  std::int32_t event;
  bool ran;
  const char* handler;  // what ran
};
void PrintTo(const Lookup& c, std::ostream* os) { *os << c.name; }

class BindingLookup : public CoreTest, public ::testing::WithParamInterface<Lookup> {};

TEST_P(BindingLookup, RunsTheFirstMatchingEntry) {
  const Lookup& lookup = GetParam();
  TestTemplate window({{kButton, "r",
                        {{1, PressA}, {0, PressB}, {0, PressC}, {2, nullptr}, {2, PressC}}}});
  bool ran = false;
  fake.QueueAction("raise", [&] { ran = RaiseEvent(lookup.templateId, lookup.elementId, lookup.event); });
  fake.QueueQuit(0);
  Run(window.library());

  EXPECT_EQ(ran, lookup.ran);
  for (const char* handler : {"PressA", "PressB", "PressC"}) {
    bool expected = lookup.handler != nullptr && std::string(lookup.handler) == handler;
    EXPECT_EQ(Count(fake.calls, handler), expected ? 1 : 0) << handler;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BindingLookup,
    ::testing::Values(Lookup{"FirstMatchWins", kStartupTemplateId, kButton, 0, true, "PressB"},
                      Lookup{"OtherEvent", kStartupTemplateId, kButton, 1, true, "PressA"},
                      Lookup{"NoneHandlerIsLikeNoEntry", kStartupTemplateId, kButton, 2, false, nullptr},
                      Lookup{"UnboundEvent", kStartupTemplateId, kButton, kPointerDownEvent, false, nullptr},
                      Lookup{"UnknownElement", kStartupTemplateId, 0x16010099, 0, false, nullptr},
                      Lookup{"UnboundWindowElement", kStartupTemplateId, kStartupWindowElementId, 0, false, nullptr},
                      Lookup{"UnknownTemplate", 0x52010099, kButton, 0, false, nullptr}),
    [](const auto& param) { return param.param.name; });

TEST_F(CoreTest, HandlerGetsTheEventsArgumentsInOrder) {
  TestTemplate window({{kButton, "r", {{kKeyDownEvent, RecordArgs}}}});
  fake.QueueAction("raise", [] {
    const std::int32_t values[] = {27, -1, 4};
    RaiseEvent(kStartupTemplateId, kButton, kKeyDownEvent, {values, 3});
  });
  fake.QueueQuit(0);
  Run(window.library());
  EXPECT_TRUE(HappensInOrder(fake.calls, {"raise", "args 27 -1 4"}));
}

TEST_F(CoreTest, SuppressedEventsReachNoHandler) {
  TestTemplate window({{kButton, "r", {{0, PressA}}}});
  bool ran = true;
  fake.QueueAction("raise", [&] {
    ++Lifecycle().eventSuppressionCount;
    ran = RaiseEvent(kStartupTemplateId, kButton, 0);
    --Lifecycle().eventSuppressionCount;
  });
  fake.QueueQuit(0);
  Run(window.library());
  EXPECT_FALSE(ran);
  EXPECT_FALSE(HappensInOrder(fake.calls, {"PressA"}));
}

// Every event the window and its button report goes through the bindings:
// a template that binds them sees them all.
TEST_F(CoreTest, InputFocusAndActivationEventsAreRaised) {
  TestTemplate window({{kButton, "r",
                        {{kPointerDownEvent, [](EventArgs) { gFake->Record("button pointer down"); }},
                         {kKeyDownEvent, [](EventArgs) { gFake->Record("button key down"); }},
                         {kFocusGainedEvent, [](EventArgs) { gFake->Record("button focus"); }}}}},
                      {{kWindowActivatedEvent, [](EventArgs) { gFake->Record("window activated"); }},
                       {kCharacterEvent, [](EventArgs) { gFake->Record("window character"); }}});
  fake.queue.push_back({{MessageKind::Input, kFirstButton, 0, InputKind::PointerDown, {}}, nullptr});
  fake.QueueKey(kFirstButton, Key::Alphanumeric, 'Q');
  fake.queue.push_back({{MessageKind::Input, kWindow, 0, InputKind::Character, {}}, nullptr});
  fake.QueueQuit(0);
  Run(window.library());
  EXPECT_TRUE(HappensInOrder(fake.calls, {"ShowAndActivate", "window activated", "button focus",
                                          "button pointer down", "button key down", "window character"}));
}

}  // namespace
