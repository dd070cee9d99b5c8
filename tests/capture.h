// Captures what a piece of engine code prints on standard output.
#pragma once

#include <gtest/gtest.h>

#include <string>

template <typename F>
std::string CaptureOutput(F&& body) {
  testing::internal::CaptureStdout();
  body();
  return testing::internal::GetCapturedStdout();
}
