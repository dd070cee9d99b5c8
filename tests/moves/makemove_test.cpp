#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/movegen.h"
#include "board/verify.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "move_helpers.h"
#include "moves/makemove.h"
#include "moves/movetext.h"

namespace {

bool SameBoard(const Board& a, const Board& b) { return memcmp(&a, &b, sizeof(Board)) == 0; }

bool IsDoubleStep(Move m) {
  const int type = MovePiece(m) & 15;
  const int step = MoveTo(m) - MoveFrom(m);
  return type == PAWN && (step == 16 || step == -16);
}

}  // namespace

// Every pseudo-legal move of positions holding quiet moves, captures,
// double steps, en passant for both sides, every promotion with and without
// capture for both sides and all four castlings: make keeps the key and the
// rotated boards right and records the move; unmake restores the board bit
// for bit and the move word.
TEST(MakeMove, EveryMoveMakesAndUnmakesExactly) {
  const char* fens[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq -",
      "n1n4k/1P6/8/8/8/8/1p6/N1N4K w - -",
      "n1n4k/1P6/8/8/8/8/1p6/N1N4K b - -",
      "4k3/8/8/3pP3/8/8/8/4K3 w - d6",
      "4k3/8/8/8/3Pp3/8/8/4K3 b - d3",
      "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -",
  };
  int promotions = 0, castlings = 0, enPassants = 0;
  for (const char* fen : fens) {
    Board b = FromFen(fen);
    b.gamePly = 7;
    const Board before = b;
    Move list[MOVE_LIST_SIZE];
    const int count = GeneratePseudoMoves(b, list);
    for (int i = 0; i < count; i++) {
      const Move generated = list[i];
      const std::string what = std::string(fen) + " " + Text(generated);
      const u64 predicted = KeyAfterMove(b, generated);
      const bool enPassant = (MovePiece(generated) & 15) == PAWN && MoveCaptured(generated) == 0 &&
                             ((MoveTo(generated) - MoveFrom(generated)) & 1);
      ASSERT_EQ(MakeMove(list[i], b), 1) << what;
      EXPECT_EQ(b.hashkey, ComputeHashKey(b)) << what;
      // The key told ahead is exact for every move of a single piece.
      if (MoveSpecial(generated) == 0 && !enPassant) {
        EXPECT_EQ(predicted, b.hashkey) << what;
      }
      EXPECT_EQ(CaptureOutput([&] { EXPECT_EQ(VerifyRotated(b), 1) << what; }), "");
      EXPECT_EQ(b.gamePly, 8);
      EXPECT_EQ(gameHistory[7].move, generated) << what;
      EXPECT_EQ(gameHistory[7].hashkey, b.hashkey) << what;
      EXPECT_EQ((list[i] >> SPECIAL_SHIFT) & 255, (Move)before.castleStat) << what;
      // Only a double step leaves en passant state, and it always does.
      EXPECT_EQ((b.castleStat & 0xF0) != 0, IsDoubleStep(generated)) << what;
      EXPECT_EQ(b.castleStat & ~0xFF, 0) << what;
      ASSERT_EQ(UnmakeMove(list[i], b), 1);
      EXPECT_TRUE(SameBoard(b, before)) << what;
      EXPECT_EQ(list[i], generated) << what;

      const int special = MoveSpecial(generated);
      promotions += special > 0 && special < CASTLE_KINGSIDE;
      castlings += special >= CASTLE_KINGSIDE;
      enPassants += enPassant;
    }
  }
  EXPECT_EQ(promotions, 4 * 6);  // three promoting moves per side, four pieces each
  EXPECT_EQ(castlings, 6);
  EXPECT_EQ(enPassants, 2);
}

TEST(MakeMove, CastlingBorrowsTheSpecialField) {
  Board b = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
  Move m = Find(b, "e1g1", true);
  ASSERT_EQ(m, WHITE_CASTLE_KINGSIDE);
  MakeMove(m, b);
  EXPECT_EQ(b.castleStat, 12);
  EXPECT_EQ(b.mailbox[2], WROOK);
  EXPECT_EQ(b.mailbox[0], EMPTY);
  EXPECT_EQ(b.mailbox[1], WKING);
  EXPECT_EQ(b.wKingSquare, 1);
  EXPECT_EQ(m, WHITE_CASTLE_KINGSIDE | (15u << SPECIAL_SHIFT));
  UnmakeMove(m, b);
  EXPECT_EQ(m, WHITE_CASTLE_KINGSIDE);
  EXPECT_EQ(MoveSpecial(m), 256);
  EXPECT_EQ(b.castleStat, 15);
}

TEST(MakeMove, PromotionWordHoldsTheSavedStateWhileMade) {
  Board b = FromFen("4k3/1P6/8/8/8/8/8/4K3 w - -");
  b.gamePly = 3;
  Move m = Find(b, "b7b8n", true);
  MakeMove(m, b);
  EXPECT_EQ(MoveSpecial(m), 0);  // castleStat 0 saved in place of the code
  EXPECT_EQ(MoveSpecial(gameHistory[3].move), WKNIGHT);
  EXPECT_EQ(b.mailbox[62], WKNIGHT);
  UnmakeMove(m, b);
  EXPECT_EQ(MoveSpecial(m), WKNIGHT);
}

// Rights end when the king or a rook leaves home, and when a rook is taken
// on its corner.
TEST(MakeMove, CastlingRights) {
  struct Case {
    const char* fen;
    const char* move;
    int rightsAfter;
  };
  const Case cases[] = {
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1f1", 12},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "h1g1", 14},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "a1b1", 13},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8d8", 3},
      {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "a8a1", 5},   // takes a rook: both queen sides go
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "h1h8", 10},  // both king sides go
      {"r3k2r/8/8/8/8/8/6b1/R3K2R b KQkq -", "g2h1", 14},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "a1a7", 13},
  };
  for (const Case& c : cases) {
    Board b = FromFen(c.fen);
    const Board before = b;
    Move m = Find(b, c.move, true);
    MakeMove(m, b);
    EXPECT_EQ(b.castleStat & 15, c.rightsAfter) << c.fen << " " << c.move;
    EXPECT_EQ(b.hashkey, ComputeHashKey(b)) << c.move;
    UnmakeMove(m, b);
    EXPECT_TRUE(SameBoard(b, before)) << c.move;
  }
}

// After its rook is taken on h1, another rook reaching h1 must not let the
// king castle.
TEST(MakeMove, ACapturedCornerRookEndsTheRight) {
  Board b = FromFen("4k3/8/8/7R/8/8/6b1/4K2R b K -");
  Move take = Find(b, "g2h1", true);
  MakeMove(take, b);
  Move back = Find(b, "h5h1", true);
  MakeMove(back, b);
  EXPECT_EQ(b.mailbox[0], WROOK);
  EXPECT_EQ(b.mailbox[3], WKING);
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(b, list);
  for (int i = 0; list[i] != 0; i++) EXPECT_NE(list[i], WHITE_CASTLE_KINGSIDE);
}

TEST(MakeMove, EnPassantEmptiesAndRefillsTheVictimSquare) {
  Board b = FromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6");
  const Board before = b;
  Move m = Find(b, "e5d6", true);
  EXPECT_EQ(MoveCaptured(m), 0);
  MakeMove(m, b);
  const int d5 = 36;
  EXPECT_EQ(b.mailbox[d5], EMPTY);
  EXPECT_EQ(b.bPawn, 0u);
  UnmakeMove(m, b);
  EXPECT_EQ(b.mailbox[d5], BPAWN);
  EXPECT_TRUE(SameBoard(b, before));
}

TEST(MakeMove, DoubleStepFlagsEnPassantWithoutAnEnemyPawn) {
  Board b = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  Move m = Find(b, "e2e4", true);
  MakeMove(m, b);
  EXPECT_EQ(b.castleStat, 15 + (8 + 3) * 16);
}

TEST(MakeMove, KingCaptureIsRefused) {
  Board b = FromFen("4k3/8/8/8/8/8/8/4K2r b - -");
  b.gamePly = 5;
  gameHistory[5] = GameRecord{};
  const Board before = b;
  Move m = Find(b, "h1e1", true);
  const Move word = m;
  endSearch = 0;
  searchError = 0;
  const std::string out = CaptureOutput([&] { EXPECT_EQ(MakeMove(m, b), 0); });
  EXPECT_EQ(out.rfind("King will be captured!\n", 0), 0u) << out;
  EXPECT_NE(out.find("via mailbox:"), std::string::npos);
  EXPECT_NE(out.find("from bitboards:"), std::string::npos);
  EXPECT_NE(out.find("(r)h1e1(K)spec=0\n"), std::string::npos);
  EXPECT_EQ(endSearch, 3);
  EXPECT_EQ(searchError, 1);
  EXPECT_TRUE(SameBoard(b, before));
  EXPECT_EQ(m, word);
  EXPECT_EQ(gameHistory[5].move, 0u);
}

// Past the last record of the game history moves are still made and
// unmade, and nothing is written beyond the table.
TEST(MakeMove, GameHistoryIsBounded) {
  Board b = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  b.gamePly = GAME_HISTORY_SIZE - 1;
  const Board before = b;
  Move first = Find(b, "g1f3", true);
  MakeMove(first, b);
  Move second = Find(b, "g8f6", true);
  MakeMove(second, b);
  EXPECT_EQ(b.gamePly, GAME_HISTORY_SIZE + 1);
  EXPECT_EQ(gameHistory[GAME_HISTORY_SIZE - 1].move, Find(before, "g1f3", true));
  UnmakeMove(second, b);
  UnmakeMove(first, b);
  EXPECT_TRUE(SameBoard(b, before));
}

// Words the generator never produces: make reports them and goes on; the
// board is left as the report says, so only the report is checked.
TEST(MakeMove, InconsistentWordsAreReported) {
  struct Case {
    const char* fen;
    Move word;
    const char* message;
    int searchError;
  };
  const Case cases[] = {
      // A white pawn promoting to a black rook, and a black one to a white queen.
      {"4k3/1P6/8/8/8/8/8/4K3 w - -", MakeMoveWord(49, 57, WPAWN, 0, BROOK),
       "Error(promotion): Special _ not recognized.\n", 1},
      {"4k3/8/8/8/8/8/1p6/4K3 b - -", MakeMoveWord(9, 1, BPAWN, 0, WQUEEN),
       "Error(promotion): Special2 7 not recognized.\n", 1},
      // Capturing a code no piece has.
      {"4k3/8/8/8/8/8/8/R3K3 w - -", MakeMoveWord(7, 63, WROOK, 4, 0),
       "Error (not sure what happened2. piece=4)\n#Move: (6)a1a8(4), special=0\n", 0},
  };
  for (const Case& c : cases) {
    Board b = FromFen(c.fen);
    Move m = c.word;
    searchError = 0;
    EXPECT_EQ(CaptureOutput([&] { MakeMove(m, b); }), c.message);
    EXPECT_EQ(searchError, c.searchError) << c.message;
  }
}
