#include "engine/takeoff_analysis.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/engine/analysis_test_flight.h"

namespace pistavox {
namespace {

using test::AnalysisFlight;

const char* const kTrace = "Takeoff trace: ";

std::vector<long long> DefaultMarks() {
  std::vector<long long> marks{100, 500, 1000};
  for (long long mark = 1200; mark <= 5000; mark += 200) marks.push_back(mark);
  return marks;
}

TEST(TakeoffAnalysis, MarksRunFromTheStartToTheHighestOnceUntilTheNextGroundStep) {
  AnalysisFlight f;
  f.status.airport_ident = "EDDF";
  f.status.runway_ident = "25C";
  f.status.runway_state = RunwayState::kAirborne;
  f.status.cross_track_m = -3.4;
  f.Poll(0.0, true);
  f.Fly(200.0, 2400.0);
  EXPECT_EQ(f.LinesStartingWith(kTrace).front(),
            "Takeoff trace: 100 ft AGL | VS 2400 fpm | maxVS 2400 fpm | G 1.00 | maxG 1.00 | GS 140.0 kt | HDG 90 | "
            "airport=EDDF runway=25C mode=airborne cross=-3 m lat=50.033333 lon=8.570556");
  f.Fly(5300.0, 2000.0);
  EXPECT_EQ(f.Marks(kTrace), DefaultMarks());
  EXPECT_TRUE(f.analysis.takeoff.takeoff_active);

  f.Fly(5600.0, 2000.0);
  EXPECT_FALSE(f.analysis.takeoff.takeoff_active);  // above the reset height
  f.Fly(3000.0, 1500.0);
  f.Fly(5100.0, 2000.0);
  EXPECT_EQ(f.Marks(kTrace).size(), DefaultMarks().size());  // marks are not rewound in the air

  f.Poll(0.0, true);
  f.Fly(150.0, 2000.0);
  EXPECT_EQ(f.Marks(kTrace).size(), DefaultMarks().size() + 1);
  EXPECT_EQ(f.Marks(kTrace).back(), 100);
}

TEST(TakeoffAnalysis, OnlyAClimbFasterThanTheMinimumIsTraced) {
  AnalysisFlight slow;
  slow.Poll(0.0, true);
  slow.Fly(120.0, 90.0);
  EXPECT_TRUE(slow.LinesStartingWith(kTrace).empty());
  EXPECT_FALSE(slow.analysis.takeoff.takeoff_active);

  AnalysisFlight fast_enough;
  fast_enough.Poll(0.0, true);
  fast_enough.Fly(120.0, 110.0);
  EXPECT_EQ(fast_enough.Marks(kTrace), std::vector<long long>{100});
}

TEST(TakeoffAnalysis, MarksNearTheLargestIntegerDoNotOverflow) {
  AnalysisFlight f;
  constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();
  f.settings.takeoff_trace_third_ft = kTop - 100;
  f.settings.takeoff_trace_max_ft = kTop - 5;
  f.settings.takeoff_detect_max_ft = 3e9f;
  f.settings.takeoff_reset_above_ft = 3e9f;
  f.Poll(0.0, true);
  f.Poll(2147483600.0);
  EXPECT_EQ(f.Marks(kTrace), (std::vector<long long>{100, 500, kTop - 100}));
  EXPECT_EQ(f.analysis.takeoff.takeoff_next_mark_ft, std::int64_t{kTop} + 100);
}

}  // namespace
}  // namespace pistavox
