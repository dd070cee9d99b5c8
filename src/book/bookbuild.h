// Building books from PGN games and re-scoring them by search.
#pragma once

extern int gameError;
extern int inComment;

int BuildBook(const char* fileName);
void ReadPgnToken(const char* token);
int UpgradeBook();
