#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/fen.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "moves/perft.h"
#include "move_helpers.h"

namespace {

std::vector<std::string> Texts(const Move* list) {
  std::vector<std::string> texts;
  for (int i = 0; list[i] != 0; i++) texts.push_back(Text(list[i]));
  return texts;
}

std::vector<std::string> LegalTexts(const Board& b) {
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(b, list);
  return Texts(list);
}

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& t : texts)
    if (t == text) return true;
  return false;
}

// The legal moves found the slow way: every pseudo-legal move is made and
// kept when the mover's king is not attacked afterwards.
std::vector<Move> LegalBySearch(Board b) {
  Move pseudo[MOVE_LIST_SIZE];
  GeneratePseudoMoves(b, pseudo);
  std::vector<Move> legal;
  for (int i = 0; pseudo[i] != 0; i++) {
    const Move generated = pseudo[i];
    checkSide = b.onMove;
    if (!MakeMove(pseudo[i], b)) continue;
    if (!MoverInCheck(b)) legal.push_back(generated);
    UnmakeMove(pseudo[i], b);
  }
  return legal;
}

// Compares the generator with the slow filter at every node of the tree to
// the given depth.
void CompareTree(Board& b, int depth, const char* fen, int& nodesChecked) {
  Move list[MOVE_LIST_SIZE];
  const int count = GenerateMoves(b, list);
  const int generatedInCheck = inCheck;
  const std::vector<Move> expected = LegalBySearch(b);
  ASSERT_EQ(std::vector<Move>(list, list + count), expected) << fen << " node " << nodesChecked;
  checkSide = b.onMove;
  ASSERT_EQ(generatedInCheck, MoverInCheck(b)) << fen;
  nodesChecked++;
  if (depth <= 1) return;
  for (int i = 0; i < count; i++) {
    MakeMove(list[i], b);
    CompareTree(b, depth - 1, fen, nodesChecked);
    UnmakeMove(list[i], b);
    if (testing::Test::HasFatalFailure()) return;
  }
}

// Compares the capture generator with the full list at every node of the
// tree: the same captures in the same order, the count of all legal moves,
// the same check flag and attack maps.
void CompareCapturesTree(Board& b, int depth, const char* fen, int& capturesSeen) {
  Move list[MOVE_LIST_SIZE];
  const int count = GenerateMoves(b, list);
  const int fullInCheck = inCheck;
  const u64 fullWhite = whiteAttacks, fullBlack = blackAttacks;
  std::vector<Move> expected;
  for (int i = 0; i < count; i++)
    if (MoveCaptured(list[i]) != 0) expected.push_back(list[i]);
  Move captures[MOVE_LIST_SIZE];
  int legalCount = -1;
  const int kept = GenerateCaptures(b, captures, legalCount);
  ASSERT_EQ(std::vector<Move>(captures, captures + kept), expected) << fen;
  ASSERT_EQ(captures[kept], 0u);
  ASSERT_EQ(legalCount, count) << fen;
  ASSERT_EQ(inCheck, fullInCheck) << fen;
  ASSERT_EQ(whiteAttacks, fullWhite) << fen;
  ASSERT_EQ(blackAttacks, fullBlack) << fen;
  capturesSeen += kept;
  if (depth <= 1) return;
  for (int i = 0; i < count; i++) {
    MakeMove(list[i], b);
    CompareCapturesTree(b, depth - 1, fen, capturesSeen);
    UnmakeMove(list[i], b);
    if (testing::Test::HasFatalFailure()) return;
  }
}

struct TreeCase {
  const char* fen;
  int depth;
};
// Castling, en passant (also into and out of check), promotions with and
// without capture, pins, single, double and triple checks.
const TreeCase treeCases[] = {
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 2},
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 4},
    {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 3},
    {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 2},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 2},
    {"8/8/8/2k5/3Pp3/8/8/6BK b - d3", 3},
    {"8/8/8/4k3/3Pp3/8/8/4K3 b - d3", 3},
    {"4r3/8/8/8/r3K3/8/5n2/7k w - -", 2},  // three checkers at once
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", 3},
    {"n1n4k/1P6/8/8/8/8/1p6/N1N4K w - -", 3},
    {"8/8/1k6/2b5/2pP4/8/5K2/8 b - d3", 3},
    {"4k3/8/8/q2pP2K/8/8/8/8 w - d6", 3},
};

}  // namespace

TEST(MoveGeneration, StartPositionOrder) {
  const std::vector<std::string> expected = {
      "g1f3", "g1h3", "b1a3", "b1c3", "a2a3", "b2b3", "c2c3", "d2d3", "e2e3", "f2f3",
      "g2g3", "h2h3", "a2a4", "b2b4", "c2c4", "d2d4", "e2e4", "f2f4", "g2g4", "h2h4"};
  EXPECT_EQ(LegalTexts(FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -")), expected);
}

TEST(MoveGeneration, CountsOrderAndCheckFlag) {
  struct Case {
    const char* fen;
    int count;
    int inCheck;
  };
  const Case cases[] = {
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 48, 0},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -", 43, 0},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 14, 0},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 44, 0},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 6, 1},
      {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 46, 0},
      {"k7/8/8/8/8/8/5PPP/3r2K1 w - -", 0, 1},  // back-rank mate
      {"k7/8/1Q6/8/8/8/8/7K b - -", 0, 0},      // stalemate
      {"8/8/8/8/8/8/8/8 w - -", 0, 0},          // no king
  };
  for (const Case& c : cases) {
    Move list[MOVE_LIST_SIZE];
    EXPECT_EQ(GenerateMoves(FromFen(c.fen), list), c.count) << c.fen;
    EXPECT_EQ(inCheck, c.inCheck) << c.fen;
  }

  std::vector<std::string> kiwi =
      LegalTexts(FromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"));
  ASSERT_EQ(kiwi.size(), 48u);
  EXPECT_EQ(kiwi[46], "e1g1");
  EXPECT_EQ(kiwi[47], "e1c1");

  const std::vector<std::string> evasions = {"g1h1", "f1f2", "f3d4", "b4c5", "c4c5", "d2d4"};
  EXPECT_EQ(LegalTexts(FromFen("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -")),
            evasions);

  Move list[MOVE_LIST_SIZE];
  const int count = GenerateMoves(FromFen("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -"), list);
  std::vector<int> promotions;
  for (int i = 0; i < count; i++)
    if (Text(list[i]).substr(0, 4) == "d7c8") promotions.push_back(MoveSpecial(list[i]));
  EXPECT_EQ(promotions, (std::vector<int>{WQUEEN, WROOK, WKNIGHT, WBISHOP}));
}

// Single moves that must or must not be generated: castling past pawn
// attacks, en passant along a rank and a diagonal, escapes from a check.
TEST(MoveGeneration, CastlingEnPassantAndCheckEdges) {
  struct Case {
    const char* fen;
    const char* move;
    bool generated;
  };
  const Case cases[] = {
      // The pawn on h2 attacks g1, which the attack maps do not show.
      {"4k3/8/8/8/8/8/7p/4K2R w K -", "e1g1", false},
      {"4k3/8/8/8/8/8/8/4K2R w K -", "e1g1", true},
      {"r3k3/P7/8/8/8/8/8/4K3 b q -", "e8c8", true},   // a7 attacks only b8
      {"r3k3/1P6/8/8/8/8/8/4K3 b q -", "e8c8", false},  // b7 attacks c8
      {"r3k3/8/8/8/8/8/8/3RK3 b q -", "e8c8", false},   // d8 attacked
      {"4k3/8/8/8/8/8/8/R3K2r w Q -", "e1c1", false},   // in check
      {"4k3/8/8/8/8/8/8/Rn2K3 w Q -", "e1c1", false},   // b1 occupied
      {"4k3/8/8/8/8/8/8/1r2K2R w Q -", "e1c1", false},  // no rook on a1
      // Both pawns leave the fifth (fourth) rank: the rook (queen) sees the king.
      {"8/8/8/KPp4r/8/8/8/7k w - c6", "b5c6", false},
      {"8/8/8/8/k2Pp2Q/8/8/7K b - d3", "e4d3", false},
      {"8/8/8/KPp5/8/8/8/7k w - c6", "b5c6", true},
      // The captured pawn shielded the king along a diagonal.
      {"8/8/8/2k5/3Pp3/8/8/6BK b - d3", "e4d3", false},
      // A pinned pawn may take en passant along its pin line only.
      {"1b5k/8/8/3pP3/8/6K1/8/8 w - d6", "e5d6", true},
      {"k6b/8/8/3pP3/8/8/1K6/8 w - d6", "e5d6", false},
      // The file names an en passant capture but no pawn stands to be taken.
      {"4k3/8/8/3P4/8/8/8/4K3 w - e6", "d5e6", false},
      // Check by a rook: the king may not step back along the file.
      {"4r3/8/8/8/4K3/8/8/k7 w - -", "e4e3", false},
      {"4r3/8/8/8/4K3/8/8/k7 w - -", "e4e5", false},
      {"4r3/8/8/8/4K3/8/8/k7 w - -", "e4d4", true},
      // Check by a pawn: stepping straight away and capturing it are fine.
      {"8/8/8/3p4/4K3/8/8/k7 w - -", "e4f3", true},
      {"8/8/8/3p4/4K3/8/8/k7 w - -", "e4d5", true},
      // The double step that gives check can be taken en passant.
      {"8/8/8/4k3/3Pp3/8/8/4K3 b - d3", "e4d3", true},
      // ...but not when a knight gives check as well (double check), nor
      // when a knight alone gives check.
      {"8/8/6N1/4k3/3Pp3/8/8/4K3 b - d3", "e4d3", false},
      {"8/8/8/k7/4pP2/1N6/8/4K3 b - f3", "e4f3", false},
      // A pawn pinned on a diagonal promotes only by taking its pinner.
      {"n1b4k/1P6/K7/8/8/8/8/8 w - -", "b7c8q", true},
      {"n1b4k/1P6/K7/8/8/8/8/8 w - -", "b7a8n", false},
      {"n1b4k/1P6/K7/8/8/8/8/8 w - -", "b7b8q", false},
      {"n6k/1P6/K7/8/8/8/8/8 w - -", "b7a8r", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Contains(LegalTexts(FromFen(c.fen)), c.move), c.generated) << c.fen << " " << c.move;
  }
}

TEST(MoveGeneration, DoubleCheckLeavesOnlyKingMoves) {
  const std::vector<std::string> expected = {"e4d5", "e4f5", "e4d4", "e4f4", "e4f3"};
  EXPECT_EQ(LegalTexts(FromFen("k3r3/8/8/8/4K3/8/5n2/4B3 w - -")), expected);
  Board b = FromFen("k3r3/8/8/8/4K3/8/5n2/4B3 w - -");
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(b, list);
  EXPECT_EQ(inCheck, 1);
}

// Positions full of pins, checks, castling, en passant and promotions; at
// every node of their trees the generator must agree, move for move and in
// order, with making each pseudo-legal move and testing the king.
TEST(MoveGeneration, AgreesWithMakeAndTestEverywhere) {
  for (const TreeCase& c : treeCases) {
    Board b = FromFen(c.fen);
    int nodesChecked = 0;
    CompareTree(b, c.depth, c.fen, nodesChecked);
    if (HasFatalFailure()) return;
  }
}

TEST(MoveGeneration, CapturesAreTheFullListsCaptures) {
  int capturesSeen = 0;
  for (const TreeCase& c : treeCases) {
    Board b = FromFen(c.fen);
    CompareCapturesTree(b, c.depth, c.fen, capturesSeen);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(capturesSeen, 1000);
  // Mated and stalemated: no capture and no legal move.
  for (const char* fen : {"6rk/5Npp/8/8/8/8/8/6K1 b - -", "7k/5Q2/6K1/8/8/8/8/8 b - -"}) {
    Board b = FromFen(fen);
    Move captures[MOVE_LIST_SIZE];
    int legalCount = -1;
    EXPECT_EQ(GenerateCaptures(b, captures, legalCount), 0) << fen;
    EXPECT_EQ(legalCount, 0) << fen;
  }
}

// The exported pin test answers 1 exactly for the moves the generator drops
// as leaving a pin line (king not in check, king and en passant moves aside).
TEST(MoveGeneration, PinTestMatchesTheGenerator) {
  const char* fens[] = {
      "4k3/8/8/8/1b6/8/3N4/4K3 w - -",
      "4k3/8/8/8/q2R3K/8/8/8 w - -",
      "k7/8/8/8/8/2b5/1R6/K7 w - -",
      "4k3/8/8/8/4r3/8/8/4Q2K b - -",
      "4k3/4q3/8/8/8/8/4P3/4K3 w - -",
  };
  int pinnedMoves = 0;
  for (const char* fen : fens) {
    Board b = FromFen(fen);
    Move pseudo[MOVE_LIST_SIZE];
    const int count = GeneratePseudoMoves(b, pseudo);
    const std::vector<std::string> legal = LegalTexts(b);
    ASSERT_EQ(inCheck, 0) << fen;
    const int king = b.onMove == WHITE ? b.wKingSquare : b.bKingSquare;
    const u64 enemyAttacks = b.onMove == WHITE ? blackAttacks : whiteAttacks;
    const int enemyColour = b.onMove == WHITE ? 16 : 0;
    for (int i = 0; i < count; i++) {
      if (MoveFrom(pseudo[i]) == king) continue;
      const int pinned = IsPinnedMove(b, king, pseudo, i, enemyAttacks, enemyColour);
      pinnedMoves += pinned;
      EXPECT_EQ(pinned == 1, !Contains(legal, Text(pseudo[i]))) << fen << " " << Text(pseudo[i]);
    }
  }
  EXPECT_GT(pinnedMoves, 10);
}

// A set-up position with more moves than a list holds: generation stops at
// the list's end and never writes past it.
TEST(MoveGeneration, ListBoundInCrowdedPositions) {
  // 276 pseudo-legal moves.
  const char* fen = "1QQQQQQQ/Q6Q/Q6Q/Q2Q3Q/Q6Q/Q6Q/1Q5Q/kQQQQQQK w - -";
  Board b = FromFen(fen);
  Move list[MOVE_LIST_SIZE + 8];
  for (Move& m : list) m = 0xDEADBEEF;
  int count = GeneratePseudoMoves(b, list);
  EXPECT_EQ(count, MOVE_LIST_SIZE - 1);
  EXPECT_EQ(list[count], 0u);
  for (int i = MOVE_LIST_SIZE; i < MOVE_LIST_SIZE + 8; i++) EXPECT_EQ(list[i], 0xDEADBEEF);
  for (Move& m : list) m = 0xDEADBEEF;
  count = GenerateMoves(b, list);
  EXPECT_LE(count, MOVE_LIST_SIZE - 1);
  EXPECT_EQ(list[count], 0u);
  for (int i = MOVE_LIST_SIZE; i < MOVE_LIST_SIZE + 8; i++) EXPECT_EQ(list[i], 0xDEADBEEF);
  // The capture generator counts every legal move, beyond the list's end.
  for (Move& m : list) m = 0xDEADBEEF;
  int legalCount = 0;
  count = GenerateCaptures(b, list, legalCount);
  EXPECT_EQ(list[count], 0u);
  EXPECT_GE(legalCount, MOVE_LIST_SIZE - 1);
  for (int i = MOVE_LIST_SIZE; i < MOVE_LIST_SIZE + 8; i++) EXPECT_EQ(list[i], 0xDEADBEEF);
}

TEST(AttackMaps, PawnsAttackOnlyWhatTheyCouldTake) {
  // White pawn e4 with a black knight on d5 and an empty f5; black pawn a5
  // on the edge, with a rook on h5 where a wrapped step would land.
  Board b = FromFen("4k3/8/8/p2n3R/4P3/8/8/4K3 w - -");
  BuildAttackMaps(b);
  const int e4 = 27, d5 = 36, f5 = 34, a5 = 39, b4 = 30, e3 = 19;
  EXPECT_EQ(attackFrom[e4], setMask[d5]);
  EXPECT_EQ(attackFrom[a5], 0u);
  EXPECT_FALSE(attackFrom[e4] & setMask[f5]);
  EXPECT_EQ(attackFrom[b4], 0u);  // empty square
  EXPECT_EQ(attackFrom[d5], knightAttacks[d5]);
  EXPECT_TRUE(blackAttacks & setMask[e3]);
}
