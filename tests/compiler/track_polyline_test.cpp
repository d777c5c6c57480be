#include "compiler/track_polyline.h"

#include <gtest/gtest.h>

#include "compiler/runtime_failure.h"
#include "line_fixture.h"

namespace tracciato::test_support {
namespace {

double x_of(const ScenarioModel& m, int32_t row) { return m.track_points.coordinate(row, 0); }
double y_of(const ScenarioModel& m, int32_t row) { return m.track_points.coordinate(row, 1); }

TEST(CurvatureOf, DigitAndSideOfTheKeyField) {
  const struct {
    std::string_view key;
    std::optional<double> k;
  } cases[] = {
      {"curvad4", 0.001}, {"curvas2", -0.0002}, {"curva12", 0.0001},     {"CURVAS3", -0.0004},
      {"curvad5", 0.002}, {"curva 6", 0.003},   {"curva", std::nullopt}, {"curvas7", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(curvature_of(c.key), c.k) << c.key;
}

TEST(TrackPolyline, StartsAtTheOriginHeadingAlongY) {
  const LineRun run = run_line(line_with({}));
  ASSERT_EQ(run.model.error_code, 0);
  const TrackStore& track = run.model.track_points;
  ASSERT_EQ(track.rows(), 8001);
  EXPECT_EQ(track.start_rows()[0], (StartRow{0, 0}));
  EXPECT_EQ(track.start_rows()[1], (StartRow{0, 1}));
  EXPECT_EQ(x_of(run.model, 2), 0.0);
  EXPECT_EQ(y_of(run.model, 2), 2.0);
  EXPECT_EQ(y_of(run.model, 7998), 7998.0);
  // The last two rows are never written.
  EXPECT_EQ(track.written(), 7999);
  EXPECT_THROW(track.coordinate(7999, 0), RuntimeFailure);
  EXPECT_THROW(track.coordinate(8001, 0), RuntimeFailure);
}

TEST(TrackPolyline, RightHandCurveBendsTowardPlusX) {
  const LineRun run = run_line(line_with({"curvad4, 0, 100"}));
  ASSERT_EQ(run.model.error_code, 0);
  EXPECT_EQ(x_of(run.model, 2), 0.001);
  EXPECT_EQ(y_of(run.model, 2), 2.0);
  for (int32_t row = 3; row <= 100; ++row)
    EXPECT_GT(x_of(run.model, row), x_of(run.model, row - 1)) << row;
  // After the curve the track runs straight on along the last step.
  const double dx = x_of(run.model, 100) - x_of(run.model, 99);
  const double dy = y_of(run.model, 100) - y_of(run.model, 99);
  EXPECT_EQ(x_of(run.model, 101), x_of(run.model, 100) + dx);
  EXPECT_EQ(y_of(run.model, 101), y_of(run.model, 100) + dy);
}

TEST(TrackPolyline, LeftHandCurveAfterAStraight) {
  const LineRun run = run_line(line_with({"curvas2, 200, 150"}));
  ASSERT_EQ(run.model.error_code, 0);
  EXPECT_EQ(x_of(run.model, 200), 0.0);
  EXPECT_EQ(y_of(run.model, 200), 200.0);
  EXPECT_EQ(x_of(run.model, 201), -0.0002);
  EXPECT_EQ(y_of(run.model, 201), 201.0);
  EXPECT_LT(x_of(run.model, 350), 0.0);
}

TEST(TrackPolyline, CurveRecordsThatEndTheRun) {
  // Length 1000: track rows 0 to 8000, the curve may bend up to row 7998.
  const struct {
    const char* name;
    std::string line;
    int32_t code;
    int32_t position;
  } cases[] = {
      {"no curvature digit", line_with({"curva, 100, 100"}), 103, 0},
      {"end at the last written row", line_with({"curvad1, 7000, 998"}), 0, 0},
      {"end beyond it", line_with({"curvad1, 7000, 999"}), 104, 7000},
      {"no curvature digit is tested first", line_with({"curva, 7000, 999"}), 103, 0},
      {"s + l overflows", line_with({"curvad1, 7000, 2147483647"}), 25, 0},
      {"a cursor beyond 1,000,000 rows", line_with({"curvad1, 1000500, 10"}, 1000000), 103, 0},
  };
  for (const auto& c : cases) {
    const LineRun run = run_line(c.line);
    EXPECT_EQ(run.model.error_code, c.code) << c.name;
    EXPECT_EQ(run.model.error_position, c.position) << c.name;
    EXPECT_EQ(run.train_discarded, c.code == 0 || c.code == 25) << c.name;
  }
}

TEST(TrackPolyline, WithoutTrackFlagCurvesAreNotRecords) {
  // The curve's numbers are read as key fields: "100" matches nothing, and
  // the gradient record after it is still found.
  const LineRun run = run_line(line_with({"curva, 100, 100", "pendenza, 500, 4"}), 0);
  EXPECT_EQ(run.model.error_code, 0);
  EXPECT_TRUE(run.model.track_points.empty());
  EXPECT_EQ(run.model.route_cells[10].gradient, 104);
}

}  // namespace
}  // namespace tracciato::test_support
