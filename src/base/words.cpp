// Number and word reading of argument text.
#include "base/words.h"

#include <cstdio>

#include <cctype>
#include <climits>

int ToInt(const char* text) {
  while (isspace((unsigned char)*text)) text++;
  int sign = 1;
  if (*text == '+' || *text == '-') {
    if (*text == '-') sign = -1;
    text++;
  }
  long long value = 0;
  while (isdigit((unsigned char)*text)) {
    value = value * 10 + (*text - '0');
    if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;  // clamp, never overflow
    text++;
  }
  value *= sign;
  if (value > INT_MAX) value = INT_MAX;
  return (int)value;
}

const char* NextWord(const char* text, char* word, int size) {
  while (isspace((unsigned char)*text)) text++;
  int length = 0;
  while (*text != 0 && !isspace((unsigned char)*text)) {
    if (length < size - 1) word[length++] = *text;
    text++;
  }
  word[length] = 0;
  return text;
}

double ClampArgument(double value, double low, double high, const char* name) {
  double used = value;
  if (!(value >= low)) used = low;  // NaN counts as too low
  if (value > high) used = high;
  if (used != value) printf("# %s %.10g is out of range; %.10g used.\n", name, value, used);
  return used;
}
