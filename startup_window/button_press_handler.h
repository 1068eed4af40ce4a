#pragma once

// Bound to the button's press event: ends the program with status 0.
[[noreturn]] void ButtonPressHandler();
