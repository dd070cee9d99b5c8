// The benchmark's machinery on shallow depths: its lines, its total, and a
// node count that must come out the same in every build.
#include <gtest/gtest.h>

#include <string>

#include "../search/search_fixture.h"
#include "driver/diagnostics.h"

namespace {

struct Bench : SearchFixture {};

TEST_F(Bench, ShallowRunPrintsItsLinesAndAFixedTotal) {
  postMode = 1;
  const BenchRow rows[] = {
      {"\ntestpos1\n", POS_P1, 4},      {"\ntestpos2\n", POS_P2, 4}, {"\ntestpos3\n", POS_P3, 5},
      {"\ntestpos4\n", POS_P4, 4},      {"\ntestpos5\n", POS_P5, 4}, {"\ntestpos6\n", POS_P6, 5},
      {"\ntestpos7\n", POS_FINE70, 12}, {"\ntestpos8\n", POS_P8, 3}, {"\ntestpos9\n", POS_P9, 4},
      {"\ntestpos10\n", POS_KIWI, 3},
  };
  uint64_t total = 0;
  const std::string out = CaptureOutput([&] { total = RunBench(rows, 10); });
  // The figure changes only when the search itself changes; a build that
  // differs from the others has undefined behaviour or reads uninitialised
  // memory.
  EXPECT_EQ(total, 1863191u);
  EXPECT_NE(out.find("Total bench nodes: " + std::to_string(total) + "\n"), std::string::npos);
  size_t at = 0;
  int elapsed = 0;
  while ((at = out.find("Elapsed time ", at)) != std::string::npos) elapsed++, at++;
  EXPECT_EQ(elapsed, 3);
  EXPECT_EQ(out.find("\ntestpos1\n"), 0u);
  EXPECT_LT(out.find("Elapsed time "), out.find("\ntestpos2\n"));
  EXPECT_NE(out.find("\ntestpos10\n"), std::string::npos);
  EXPECT_NE(out.find("parsed: bm=Nxe3\n"), std::string::npos);
  EXPECT_NE(out.find("Total elapsed time "), std::string::npos);
  EXPECT_EQ(fixedDepth, 3);
  EXPECT_EQ(mainBoard.onMove, 0);
}

}  // namespace
