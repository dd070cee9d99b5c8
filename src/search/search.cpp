// The search's shared state: node count, move-ordering memory and the
// record of the last accepted best line.
#include "search/search.h"

#include <cstring>

uint64_t nodes = 0;
uint32_t history[64][64];
Move killerMove[MAX_KILLER_PLY];
int killerPly = 0;
int rootDepth = 0;

int bestRoot = 0;
int bestRootScore = 0;
Line solutionLine;
double solutionTime = 0.0;
uint64_t solutionNodes = 0;
int solutionDepth = 0;

void ClearHistoryAndKillers() {
  memset(history, 0, sizeof(history));
  memset(killerMove, 0, sizeof(killerMove));
  killerPly = 0;
}
