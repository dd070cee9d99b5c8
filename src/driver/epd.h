// EPD operations and the test-suite runner.
#pragma once

constexpr int EPD_ID_SIZE = 64;
constexpr int EPD_BM_SIZE = 8;

extern char epdId[EPD_ID_SIZE];
extern char epdBm[EPD_BM_SIZE];
extern char epdBm2[EPD_BM_SIZE];

void ParseEpdOp(const char* op);
int RunEpd(const char* fileName, double seconds);
