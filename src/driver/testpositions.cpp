// The built-in test positions.
#include "driver/testpositions.h"

const char* const testPositions[TEST_POSITION_COUNT] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -",
    "r1b2k1r/p4pbp/nq1p1Q2/2pP4/1p2R2N/6P1/P3PPBP/4K2R w - -",
    "7r/p5p1/5k2/P2pNp1P/1P1P2p1/6K1/5P2/8 w - -",
    "4nkr1/pp6/5P2/2R5/2P5/4P3/PB2KP2/8 w - - bm e4",
    "5r2/8/R4n2/5k2/2P5/4P3/PB2KP2/8 w - - bm Rxf6+",
    "4n3/r7/2P1K3/P7/5P1k/2B1P3/8/6R1 w - - bm Be5",
    "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - -",
    "1rb2rk1/p4ppp/1p1qp1n1/3n2N1/2pP4/2P3P1/PPQ2PBP/R1B1R1K1 w - -",
    "r4rk1/n1pp1ppp/p7/1pqPp3/6n1/PB1PPN1P/1PP3P1/R3QRK1 b - - bm Nxe3",
    "8/8/4Pk1p/3K1Ppr/8/8/R7/8 w - g6",
};
