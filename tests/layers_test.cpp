// The layer rule of the source tree: a file includes headers of its own
// layer and of the layers below it, never of one above. From the bottom:
// base, board, moves, search, book, driver (the front ends).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

int LayerRank(const std::string& folder) {
  static const char* const layers[] = {"base", "board", "moves", "search", "book", "driver"};
  for (int i = 0; i < 6; i++)
    if (folder == layers[i]) return i;
  return -1;
}

}  // namespace

TEST(Layers, NoFileIncludesALayerAboveItsOwn) {
  namespace fs = std::filesystem;
  const fs::path source = fs::path(QUORVEL_SOURCE_DIR) / "src";
  const std::regex include("^\\s*#\\s*include\\s*\"([a-z]+)/[^\"]+\"");
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(source)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string folder = entry.path().parent_path().filename().string();
    const int own = LayerRank(folder);
    ASSERT_GE(own, 0) << entry.path() << " lies outside the known layers";
    files++;
    std::ifstream in(entry.path());
    std::string line;
    std::smatch match;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, match, include)) continue;
      const int target = LayerRank(match[1]);
      EXPECT_GE(target, 0) << folder << "/" << entry.path().filename().string() << ": " << line;
      EXPECT_LE(target, own) << folder << "/" << entry.path().filename().string()
                             << " includes a higher layer: " << line;
    }
  }
  EXPECT_GT(files, 0);
}
