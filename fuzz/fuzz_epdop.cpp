// The EPD operation parser, one operation per input.
#include "driver/epd.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  const std::string text = InputText(data, size);
  ParseEpdOp(text.c_str());
  return 0;
}
