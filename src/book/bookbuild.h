// Building books from PGN games and re-scoring them by search.
// Book layer: uses the base, board, moves, search and book layers.
#pragma once

extern int gameError;
extern int inComment;

int BuildBook(const char* fileName);
void ReadPgnToken(const char* token);
int UpgradeBook();
