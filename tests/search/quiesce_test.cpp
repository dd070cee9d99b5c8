#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/movegen.h"
#include "base/state.h"
#include "search/engine.h"
#include "search/eval.h"
#include "search/hash.h"
#include "search/quiesce.h"
#include "search/search.h"

namespace {

Board FromFen(const char* fen) {
  Board b{};
  ReadFen(fen, b);
  b.gamePly = 10;
  return b;
}

int Sq(const char* name) { return (name[1] - '1') * 8 + ('h' - name[0]); }

Move FindMove(const Board& b, const char* from, const char* to) {
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(b, list);
  for (int i = 0; list[i]; i++)
    if (MoveFrom(list[i]) == Sq(from) && MoveTo(list[i]) == Sq(to)) return list[i];
  return 0;
}

struct QuiesceFixture : testing::Test {
  void SetUp() override {
    rootDepth = 40;
    pollnodes = 0x7FFFFFFF;
    nodes = 1;
  }
};

}  // namespace

TEST_F(QuiesceFixture, MateAndStalemateScores) {
  // Black is mated (back-rank rook).
  Board mated = FromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - -");
  EXPECT_EQ(Quiesce(mated, 0, -32700, 32700), 40 - 0 - 32000);
  EXPECT_EQ(Quiesce(mated, -10, -32700, 32700), 40 + 10 - 32000);
  EXPECT_EQ(Quiesce(mated, 0, 100, 200), 100);  // alpha is larger
  Board stalemate = FromFen("7k/5Q2/8/8/8/8/8/6K1 b - -");
  EXPECT_EQ(Quiesce(stalemate, 0, -100, 100), 0);
  EXPECT_EQ(Quiesce(stalemate, 0, 30, 100), 30);
}

TEST_F(QuiesceFixture, StandPatClippedToTheWindowWithoutCaptures) {
  Board b = FromFen("4k3/8/8/8/8/8/4P3/4K3 w - -");
  int e = Evaluate(b, 0);
  EXPECT_EQ(Quiesce(b, 0, -30000, 30000), e);
  EXPECT_EQ(Quiesce(b, 0, e + 5, 30000), e + 5);
  EXPECT_EQ(Quiesce(b, 0, -30000, e - 5), e - 5);
}

TEST_F(QuiesceFixture, InCheckStillStandsPat) {
  // White in check from the rook; a capture (Bxa8? no) - the queen can take
  // a pawn, yet standing pat on a winning material score holds.
  Board b = FromFen("4r1k1/8/8/8/8/8/3p4/Q3K3 w - -");
  int e = Evaluate(b, 0);
  EXPECT_EQ(Quiesce(b, 0, -30000, e - 1), e - 1);
}

TEST_F(QuiesceFixture, EnPassantIsNotSearched) {
  // The only capture is en passant: the result is the stand-pat score.
  Board b = FromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  EXPECT_EQ(Quiesce(b, 0, -30000, 30000), Evaluate(b, 0));
}

TEST_F(QuiesceFixture, WinningCaptureIsFound) {
  Board b = FromFen("4k3/8/8/3q4/4P3/8/8/4K3 w - -");
  int standPat = Evaluate(b, 0);
  EXPECT_GT(Quiesce(b, 0, -30000, 30000), standPat + 500);
  EXPECT_EQ(b.hashkey, FromFen("4k3/8/8/3q4/4P3/8/8/4K3 w - -").hashkey);  // board restored
}

TEST(Ordering, SortTopCapturesExample) {
  // Queen takes pawn, pawn takes queen, knight takes rook, bishop takes knight.
  Move qxp = MakeMoveWord(20, 28, WQUEEN, BPAWN, 0);
  Move pxq = MakeMoveWord(12, 21, WPAWN, BQUEEN, 0);
  Move nxr = MakeMoveWord(1, 18, WKNIGHT, BROOK, 0);
  Move bxn = MakeMoveWord(2, 29, WBISHOP, BKNIGHT, 0);
  Move list[6] = {qxp, pxq, nxr, bxn, 0, 0};
  SortTopCaptures(list);
  EXPECT_EQ(list[0], pxq);
  EXPECT_EQ(list[1], nxr);
  EXPECT_EQ(list[2], bxn);
  EXPECT_EQ(list[3], qxp);
}

TEST(Ordering, KeepCapturesCompactsInOrder) {
  Move quiet = MakeMoveWord(12, 20, WPAWN, 0, 0);
  Move nxp = MakeMoveWord(1, 18, WKNIGHT, BPAWN, 0);
  Move bxp = MakeMoveWord(2, 29, WBISHOP, BPAWN, 0);
  Move list[5] = {quiet, nxp, quiet, bxp, 0};
  EXPECT_EQ(KeepCaptures(list), 2);
  EXPECT_EQ(list[0], nxp);  // value 1-2 = -1 beats 1-5 = -4
  EXPECT_EQ(list[1], bxp);
  EXPECT_EQ(list[2], 0u);
  Move none[2] = {quiet, 0};
  EXPECT_EQ(KeepCaptures(none), 0);
  EXPECT_EQ(none[0], 0u);
}

TEST(Ordering, BandsOfTheKeys) {
  std::vector<HashEntry> table(100 + HASH_SPARE_ENTRIES);
  HashEntry* savedTable = hashTable;
  uint32_t savedEntries = hashEntries;
  hashTable = table.data();
  hashEntries = 100;
  ClearHistoryAndKillers();
  rootDepth = 0;
  hashMove = 0;

  Board b = FromFen("r3k3/1P6/8/8/3p4/2P5/2N5/R3K2R w KQq -");
  Move list[MOVE_LIST_SIZE];
  int n = GenerateMoves(b, list);
  Move cxd4 = FindMove(b, "c3", "d4");
  Move nxd4 = FindMove(b, "c2", "d4");
  Move castle = FindMove(b, "e1", "g1");
  Move quiet = FindMove(b, "a1", "a2");
  history[Sq("a1")][Sq("a2")] = 500;

  // Hash move first even when it is also the killer; a capture that is the
  // killer is ordered as a killer.
  Move hashList[1] = {quiet};
  HashStore(b.hashkey, 0, 0, HASH_EXACT, hashList, 0);
  killerPly = 3;
  killerMove[3] = nxd4;
  OrderMoves(b, list, n, 10);
  EXPECT_EQ(list[0], quiet);
  EXPECT_EQ(list[1], nxd4);
  // Castling beats every promotion and capture (queen-side 4,500,512 before
  // king-side 4,500,256); quiet promotions follow by piece code; a
  // promotion that captures (b7xa8) ranks as a capture.
  Move longCastle = FindMove(b, "e1", "c1");
  EXPECT_EQ(list[2], longCastle);
  EXPECT_EQ(list[3], castle);
  EXPECT_EQ(MoveTo(list[4]), Sq("b8"));
  EXPECT_EQ(MoveSpecial(list[4]), WQUEEN);
  EXPECT_EQ(MoveSpecial(list[7]), WKNIGHT);
  EXPECT_EQ(MoveTo(list[8]), Sq("a8"));  // b7xa8 promotions: 2 x rook - pawn
  int cxAt = -1;
  for (int i = 0; i < n; i++)
    if (list[i] == cxd4) cxAt = i;
  EXPECT_EQ(MoveTo(list[12]), Sq("a8"));  // Rxa8: 2 x rook - rook
  EXPECT_EQ(cxAt, 13);
  killerPly = 0;
  hashTable = savedTable;
  hashEntries = savedEntries;
}
