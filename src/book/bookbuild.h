// Building books from PGN games and re-scoring them by search.
// Book layer: uses the base, board, moves, search and book layers.
#pragma once

extern int gameError;
extern int inComment;

int BuildBook(const char* fileName);
void ReadPgnToken(const char* token);
// 0 when every line of the book was scored and the scored book written,
// 1 when a file failed, 2 when "quit" stopped it (nothing written).
int UpgradeBook();
