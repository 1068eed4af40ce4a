#pragma once

#include <windows.h>

#include "platform/platform.h"

// What the core needs to know of a message taken from the queue.
Message DescribeMessage(const MSG& message);
