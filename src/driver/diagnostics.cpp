// Console commands for a person testing and analysing the engine.
#include "driver/diagnostics.h"

#include <cstring>

#include "board/fen.h"

// line is the whole command line without its line end.
typedef void (*DiagnosticAction)(const char* line);

struct DiagnosticRow {
  const char* word;
  DiagnosticAction action;
};

static void CommandDisplay(const char*) { DisplayBoard(mainBoard, 1); }

static const DiagnosticRow diagnosticTable[] = {
    {"display", CommandDisplay},
    {"d", CommandDisplay},
};

int RunDiagnosticCommand(const char* word, const char* line) {
  for (const DiagnosticRow& row : diagnosticTable) {
    if (strcmp(word, row.word) == 0) {
      row.action(line);
      return 1;
    }
  }
  return 0;
}
