#pragma once
#include <QString>

// The About box's text: what the program does, its version and who made it.
QString AboutText(int major, int minor, int revision);
// With this build's version.
QString AboutText();
