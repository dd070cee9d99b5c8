// `make install` as a package would do it: every file in its place under a
// temporary DESTDIR, the installed engine started the way the plugin starts
// it, and `make uninstall` taking it all away again.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool Executable(const std::string& name) { return access(name.c_str(), X_OK) == 0; }

bool Exists(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0;
}

// Runs a shell command; its output goes to out.
int RunShell(const std::string& command, std::string& out, const std::string& outFile) {
  int status = system((command + " >'" + outFile + "' 2>&1").c_str());
  out = ReadTextFile(outFile);
  return status;
}

TEST(Install, InstallsEveryFileAndTheEngineRunsFromTheUsersFolder) {
  TempDir dir;
  const std::string dest = dir.File("dest");
  const std::string prefix = dest + "/usr/local";
  std::string out;
  ASSERT_EQ(RunShell("DESTDIR='" + dest + "' '" QUORVEL_CMAKE "' --install '" QUORVEL_BUILD_DIR "' --prefix /usr/local",
                out, dir.File("install.out")),
            0)
      << out;

  EXPECT_TRUE(Executable(prefix + "/games/quorvel"));
  EXPECT_TRUE(Executable(prefix + "/games/quorvel-user"));
  const std::string shippedRc = ReadTextFile(std::string(QUORVEL_SOURCE_DIR) + "/Quorvel.rc");
  EXPECT_EQ(ReadTextFile(prefix + "/share/games/quorvel/Quorvel.rc"), shippedRc);
  const std::string plugin = "plugin spec 0.0\n/usr/local/games/quorvel-user\nchess\n";
  EXPECT_EQ(ReadTextFile(prefix + "/share/games/plugins/xboard/quorvel.eng"), plugin);
  EXPECT_EQ(ReadTextFile(prefix + "/share/games/plugins/uci/quorvel.eng"), plugin);
  const std::string manPage = prefix + "/share/man/man6/quorvel.6";
  ASSERT_TRUE(Exists(manPage));
  ASSERT_EQ(RunShell("MANWIDTH=80 man -l '" + manPage + "'", out, dir.File("man.out")), 0) << out;
  EXPECT_TRUE(Contains(out, "QUORVEL(6)")) << out;
  EXPECT_TRUE(Contains(out, "quorvel - chess engine")) << out;
  EXPECT_FALSE(Contains(out, "warning")) << out;

  // First start: the wrapper makes ~/.quorvel with the default settings.
  const std::string home = dir.File("home");
  ASSERT_EQ(mkdir(home.c_str(), 0700), 0);
  setenv("HOME", home.c_str(), 1);
  {
    EngineProcess engine;
    ASSERT_TRUE(StartEngine(engine, dir.path, prefix + "/games/quorvel-user"));
    ASSERT_TRUE(ReadUntil(engine, "Welcome to Quorvel 2.26"));
    SendLine(engine, "ping 7");
    EXPECT_TRUE(ReadUntil(engine, "pong 7"));
    SendLine(engine, "quit");
    EXPECT_TRUE(WaitForExit(engine));
    EXPECT_EQ(engine.exitStatus, 0);
  }
  EXPECT_EQ(ReadTextFile(home + "/.quorvel/Quorvel.rc"), shippedRc);
  EXPECT_TRUE(Exists(home + "/.quorvel/Quorvel.log"));

  // Later starts keep the user's own settings.
  WriteTextFile(home + "/.quorvel/Quorvel.rc", "hash 1\nbook off\n");
  {
    EngineProcess engine;
    ASSERT_TRUE(StartEngine(engine, dir.path, prefix + "/games/quorvel-user"));
    EXPECT_TRUE(ReadUntil(engine, "Opening book disabled."));
    SendLine(engine, "quit");
    EXPECT_TRUE(WaitForExit(engine));
  }

  ASSERT_EQ(RunShell("make -s -C '" QUORVEL_SOURCE_DIR "' uninstall DESTDIR='" + dest + "' PREFIX=/usr/local", out,
                dir.File("uninstall.out")),
            0)
      << out;
  for (const char* file : {"games/quorvel", "games/quorvel-user", "share/games/quorvel/Quorvel.rc",
                           "share/games/quorvel", "share/man/man6/quorvel.6",
                           "share/games/plugins/xboard/quorvel.eng", "share/games/plugins/uci/quorvel.eng"})
    EXPECT_FALSE(Exists(prefix + "/" + file)) << file;
}

}  // namespace
