// Where the walker lets the window work, and what a click on "&Parar" at each
// of those points leaves examined and unexamined.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "platform/text.h"
#include "tests/scan/walker_fixture.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAreArray;

const std::string kKeys = "Aguarde... verificando chaves";
const std::string kValues = "Aguarde... verificando valores";

// \A {a1, a2}, \A\B {b1}, \C {c1}: every value is handed over when examined.
class SmallTree : public WalkerTest {
 protected:
  void SetUp() override {
    AddPathValue(HKLM, "\\A", "a1");
    AddPathValue(HKLM, "\\A", "a2");
    AddPathValue(HKLM, "\\A\\B", "b1");
    AddPathValue(HKLM, "\\C", "c1");
  }
};

struct PumpPoint {
  std::string status;
  int count;
  bool operator==(const PumpPoint&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PumpPoint& p) { return out << p.status << " / " << p.count; }

// Once per call after the keys text, once per subkey and once per value after
// the count, once per opened subkey after the values text; the label always
// shows the count when the window works.
TEST_F(SmallTree, WindowWorksAtTheFourPoints) {
  std::vector<PumpPoint> points;
  program.pump.on_process = [&] {
    points.push_back({Form1->Panel2.Caption(), State.VerifiedCount});
    EXPECT_EQ(Form1->Label1.Caption(), IntToStr(State.VerifiedCount));
  };
  Walk();
  const std::vector<PumpPoint> expected = {
      {kKeys, 0},                                          // root
      {kKeys, 1},   {kValues, 1}, {kValues, 2}, {kValues, 3},  // A, its values a1, a2
      {kKeys, 3},                                          // into \A
      {kKeys, 4},   {kValues, 4}, {kValues, 5},              // B, b1
      {kKeys, 5},                                          // into \A\B
      {kKeys, 6},   {kValues, 6}, {kValues, 7},              // C, c1
      {kKeys, 7},                                          // into \C
  };
  EXPECT_THAT(points, ElementsAreArray(expected));
}

struct StopCase {
  int at;  // ProcessMessages call that clicks "&Parar"; 0: no click
  std::vector<std::string> examined;
  int verified;
  int value_listings;
  int subkey_listings;
  int opens_after_stop;
};

class StopAt : public SmallTree, public ::testing::WithParamInterface<StopCase> {};

TEST_P(StopAt, ExaminesExactlyWhatCameBeforeTheNextCheck) {
  const StopCase& c = GetParam();
  int opens_at_stop = 0;
  int reads_after_stop = 0;
  if (c.at > 0) {
    ClickStopAt(c.at);
    program.pump.At(c.at, [&] { opens_at_stop = registry.open_count; });
  }
  registry.before_value_read = [&](RootKey, const std::string&, const std::string&) {
    if (State.StopRequested) ++reads_after_stop;
  };
  Walk();
  EXPECT_EQ(State.StopRequested, c.at > 0);
  EXPECT_THAT(spy.Values(), ElementsAreArray(c.examined));
  EXPECT_EQ(State.VerifiedCount, c.verified);
  EXPECT_EQ(Form1->Label1.Caption(), IntToStr(c.verified));
  EXPECT_EQ(registry.value_listings, c.value_listings);
  EXPECT_EQ(registry.subkey_listings, c.subkey_listings);
  if (c.at > 0) {
    EXPECT_EQ(registry.open_count - opens_at_stop, c.opens_after_stop);
  }
  EXPECT_EQ(reads_after_stop, 0);
}

// The pump calls are numbered as in WindowWorksAtTheFourPoints.
INSTANTIATE_TEST_SUITE_P(
    Walker, StopAt,
    ::testing::Values(
        // After the root's keys text: the root still opens and lists, its
        // first subkey counts, then the loop ends.
        StopCase{1, {}, 1, 0, 1, 1},
        // After A's count: nothing more.
        StopCase{2, {}, 1, 0, 1, 0},
        // After A's values text: no values listed, no descent, C never counted.
        StopCase{3, {}, 1, 0, 1, 0},
        // After a1's count: a1 unread; the descent into \A returns at once and
        // the root counts C before its check ends the loop.
        StopCase{4, {}, 3, 1, 1, 0},
        StopCase{5, {"\\A\\a1"}, 4, 1, 1, 0},
        // After \A's keys text: \A still opens, lists and counts B; on the
        // way out the root counts C.
        StopCase{6, {"\\A\\a1", "\\A\\a2"}, 5, 1, 2, 1},
        StopCase{8, {"\\A\\a1", "\\A\\a2"}, 5, 1, 2, 0},
        StopCase{9, {"\\A\\a1", "\\A\\a2"}, 6, 2, 2, 0},
        StopCase{13, {"\\A\\a1", "\\A\\a2", "\\A\\B\\b1"}, 7, 3, 3, 0},
        StopCase{0, {"\\A\\a1", "\\A\\a2", "\\A\\B\\b1", "\\C\\c1"}, 7, 3, 4, 0}),
    [](const auto& info) { return "Pump" + std::to_string(info.param.at); });

// A call entered after a stop returns at its first check: it writes its first
// checkpoint and nothing else, and touches neither file nor registry.
TEST_F(SmallTree, CallAfterStopReturnsAtEntry) {
  State.StopRequested = true;
  StartTrace();
  const int attribute_queries = program.files.attribute_queries;
  Walk();
  EXPECT_EQ(Trace(), std::vector<std::string>{"EnumRegistryKeys - 1"});
  EXPECT_EQ(program.files.attribute_queries, attribute_queries);
  EXPECT_EQ(registry.open_count, 0);
  EXPECT_EQ(program.pump.process_count, 0);
}

// The stop role itself runs inside the walker's message processing.
TEST_F(SmallTree, StopClickTracesAndHidesTheButton) {
  StartTrace();
  ClickStopAt(4);
  Walk();
  EXPECT_TRUE(Traced("Botao PARAR clicado"));
  EXPECT_FALSE(Form1->BotaoParar.Visible());
  EXPECT_EQ(Form1->Panel2.Caption(), "");
}

}  // namespace
}  // namespace quorvane::testing
