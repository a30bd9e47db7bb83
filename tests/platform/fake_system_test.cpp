// The environment expansion and the scripted message pump that the scan
// tests stand on.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/fake/fake_system.h"

namespace quorvane::fake {
namespace {

using ::testing::ElementsAre;

TEST(FakeEnvironment, ExpandsKnownNamesAndKeepsTheRest) {
  FakeEnvironment environment;
  environment.Set("SystemRoot", "C:\\WINDOWS");
  environment.Set("Empty", "");
  const std::pair<const char*, const char*> cases[] = {
      {"%SystemRoot%\\system32", "C:\\WINDOWS\\system32"},
      {"%SYSTEMROOT%%systemroot%", "C:\\WINDOWSC:\\WINDOWS"},
      {"a%Empty%b", "ab"},
      {"%Unknown%\\x", "%Unknown%\\x"},
      {"100%", "100%"},
      {"%%SystemRoot%", "%%SystemRoot%"},
      {"%Unknown%SystemRoot%", "%Unknown%SystemRoot%"},  // scanning goes on after the closing mark
      {"", ""},
  };
  for (const auto& [text, expanded] : cases) EXPECT_EQ(environment.Expand(text), expanded) << text;
}

TEST(FakeEnvironment, NeverTruncates) {
  FakeEnvironment environment;
  environment.Set("LONG", std::string(10000, 'x'));
  EXPECT_EQ(environment.Expand("%LONG%%LONG%").size(), 20000u);
}

TEST(ScriptedPump, RunsEachActionOnceAtItsCall) {
  ScriptedPump pump;
  std::vector<std::string> log;
  pump.At(2, [&] { log.push_back("at2@" + std::to_string(pump.process_count)); });
  pump.When([&] { return log.size() >= 2; }, [&] { log.push_back("when@" + std::to_string(pump.process_count)); });
  pump.At(1, [&] { pump.Post([&] { log.push_back("posted@" + std::to_string(pump.process_count)); }); });
  pump.on_process = [&] { log.push_back("each"); };
  for (int i = 0; i < 4; ++i) pump.ProcessMessages();
  EXPECT_EQ(pump.process_count, 4);
  EXPECT_THAT(log, ElementsAre("each", "at2@2", "when@2", "posted@2", "each", "each", "each"));
}

TEST(ScriptedPump, RunDeliversUntilQuitOrNothingIsLeft) {
  ScriptedPump pump;
  int runs = 0;
  pump.At(1, [&] { ++runs; });
  pump.At(3, [&] {
    ++runs;
    pump.Quit();
  });
  pump.At(4, [&] { ++runs; });
  pump.Run();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(pump.process_count, 3);
  pump.Run();  // picks up after a Quit
  EXPECT_EQ(runs, 3);
}

}  // namespace
}  // namespace quorvane::fake
