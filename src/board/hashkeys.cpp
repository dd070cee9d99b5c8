// Additive lagged-Fibonacci generator (lags 24 and 55) and Zobrist keys.
#include "board/hashkeys.h"

#include <cstdio>

#include "base/clock.h"

u64 pieceKeys[24][64];
u64 sideKey;
u64 castleKeys[16];
u64 epKeys[8];

// Seed words of the generator, loaded on first use.
static const uint32_t seedWords[55] = {
    0x5414D5F4, 0xB3935330, 0xD0773E27, 0xAC62A182, 0x5DB20C92, 0xC1E618AC, 0xD003926A, 0x171FA3B3,
    0x9AD12101, 0x762172C1, 0xBC5D9DC3, 0x07B72A70, 0x6E5AC890, 0xF7BE54D1, 0x0D6332FA, 0x56BA8FBE,
    0xEBA585EC, 0x571421C5, 0x96B3C079, 0x12EB9B92, 0xC07C0978, 0x0700C5BD, 0x31A43513, 0x74EBA4AA,
    0x4EC55DB5, 0x2C91C2E9, 0x208771F6, 0x304EE204, 0x1E004673, 0xF3AC22F9, 0xA8561FEB, 0xDED13435,
    0xD03E7513, 0xDAE66BC2, 0x01C20BE1, 0x46638997, 0xFB26CE62, 0x01F87FC3, 0xC0016099, 0x44429270,
    0xB04F4481, 0xF31B8AD7, 0x86DD7A46, 0x03E72091, 0x96A22589, 0x74DCB7D4, 0x12D0FC03, 0x474A16E8,
    0x2FF5717C, 0x54BDED92, 0x783A9487, 0xE767978C, 0x3052D5CD, 0x16ECA191, 0x8EAF6D15,
};

static uint32_t ringWords[55];
static int lagJ, lagK;
static bool firstUse = true;

uint32_t Random32() {
  if (firstUse) {
    for (int i = 0; i < 55; i++) ringWords[i] = seedWords[i];
    lagJ = 23;
    lagK = 54;
    firstUse = false;
  }
  ringWords[lagK] += ringWords[lagJ];
  uint32_t result = ringWords[lagK];
  if (--lagJ < 0) lagJ = 54;
  if (--lagK < 0) lagK = 54;
  return result;
}

// A key is two draws, the first one the low half.
static u64 Random64() {
  u64 low = Random32();
  u64 high = Random32();
  return (high << 32) | low;
}

void MakeHashKeys() {
  static const int drawOrder[12] = {WPAWN, WROOK, WKNIGHT, WBISHOP, WQUEEN, WKING,
                                    BPAWN, BROOK, BKNIGHT, BBISHOP, BQUEEN, BKING};
  for (int s = 0; s < 64; s++)
    for (int piece : drawOrder) pieceKeys[piece][s] = Random64();
  sideKey = Random64();
  for (int i = 0; i < 8; i++) {
    castleKeys[i] = Random64();
    epKeys[i] = Random64();
  }
  // The rights values 8..15 are drawn last so every other key keeps its draw.
  for (int i = 8; i < 16; i++) castleKeys[i] = Random64();
}

u64 ComputeHashKey(Board board) {
  u64 key = 0;
  for (int s = 0; s < 64; s++) {
    int c = board.mailbox[s];
    if (c > 0 && c < 24) key ^= pieceKeys[c][s];
  }
  if (board.castleStat & EP_FLAG) key ^= epKeys[(board.castleStat >> 4) & 7];
  if (board.onMove == WHITE) key ^= sideKey;
  key ^= castleKeys[board.castleStat & 15];
  return key;
}

void AdvanceRandom() {
  int count = (int)((long long)ReadClock() % 200);
  for (int i = 0; i < count; i++) Random32();
  printf("# Generated %d random numbers\n", count);
}
