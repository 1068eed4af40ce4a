#pragma once
// A test program's witness of the error box: which standard icon it shows.

// The property that the witness sets on the box, read from outside.
constexpr char kErrorBoxIconProperty[] = "StartwinErrorBoxIcon";
enum class BoxIcon { Unknown = 0, Error = 1, Warning = 2, Information = 3, Question = 4, Other = 5 };

// From now on, every message box this thread shows gets the property.
void WatchErrorBoxIcon();
