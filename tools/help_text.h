#pragma once
#include <QString>

namespace convert_tool {

// What --help prints.
QString HelpText();

// The short hint printed after a usage error.
QString UsageHint();

}  // namespace convert_tool
