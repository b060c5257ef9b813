// What the plug-in's result codes mean, for every message that shows one.
#pragma once

#include <string>

namespace quarn::spihost {

// The meaning of `code`, or "unknown result code" for a code the interface
// does not define.
const char* DescribeResult(int code);

// "3 (data broken)": the code with its meaning, as every message shows it.
std::string FormatResult(int code);

}  // namespace quarn::spihost
