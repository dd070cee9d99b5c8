// The installed input poll.
#include "base/poll.h"

void (*inputPoll)() = nullptr;
