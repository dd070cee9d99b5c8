// "quorvel bench": the short benchmark from the command line, as benchmark
// clients run it.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "process.h"

namespace {

// The node count is the search's signature at the default hash size: it
// changes only when the search changes, and must be the same in every build.
// A configuration file asking for another hash size is not read, and the
// run goes on with its standard input closed.
TEST(ShortBench, CommandLineRunEndsWithAFixedNodeCountAndItsSpeed) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "hash 1\n");
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path, "", "bench"));
  CloseInput(engine);
  std::vector<std::string> lines;
  std::string line;
  while (ReadLine(engine, line, 600000)) lines.push_back(line);
  ASSERT_TRUE(WaitForExit(engine, 10000));
  EXPECT_EQ(engine.exitStatus, 0);
  ASSERT_GE(lines.size(), 4u);
  const size_t n = lines.size();
  EXPECT_EQ(lines[n - 4], "Total elapsed time " + lines[n - 4].substr(19));
  EXPECT_TRUE(std::regex_match(lines[n - 3], std::regex("Short bench time: [0-9]+\\.[0-9]{3} seconds")))
      << lines[n - 3];
  EXPECT_EQ(lines[n - 2], "24848700 nodes");
  EXPECT_TRUE(std::regex_match(lines[n - 1], std::regex("[1-9][0-9]* nps"))) << lines[n - 1];
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "testpos1");
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Total bench nodes: 24848700"), lines.end());
  EXPECT_EQ(ReadTextFile(dir.File("Quorvel.log")), "");
}

}  // namespace
