// EPD operations that follow a position: id, bm and sd.
#include "driver/epd.h"

#include <cstdio>
#include <cstring>

#include "driver/config.h"
#include "driver/engine.h"

constexpr int OPCODE_SIZE = 64;

char epdId[EPD_ID_SIZE];
char epdBm[EPD_BM_SIZE];
char epdBm2[EPD_BM_SIZE];

void ParseEpdOp(const char* op) {
  char opcode[OPCODE_SIZE];
  const char* rest = NextWord(op, opcode, sizeof(opcode));

  if (strcmp(opcode, "id") == 0) {
    NextWord(rest, epdId, sizeof(epdId));
    printf("parsed: id=%s\n", epdId);
  } else if (strcmp(opcode, "bm") == 0) {
    // Moves longer than 7 characters are cut to fit.
    rest = NextWord(rest, epdBm, sizeof(epdBm));
    printf("parsed: bm=%s\n", epdBm);
    char second[EPD_BM_SIZE];
    NextWord(rest, second, sizeof(second));
    if (second[0] != 0) {
      memcpy(epdBm2, second, sizeof(epdBm2));
      printf("parsed: bm=%s\n", epdBm2);
    }
  } else if (strcmp(opcode, "sd") == 0) {
    char depth[OPCODE_SIZE];
    NextWord(rest, depth, sizeof(depth));
    fixedDepth = ToInt(depth);
    printf("searchDepth set at %d\n", fixedDepth);
  } else {
    printf("not parsed:%s\n", op);
  }
}
