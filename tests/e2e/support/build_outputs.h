// Where the build put the programs the end-to-end tests work with.
#pragma once

#include <string>

namespace quarn::e2e {

// quarn.spi as built; tests load copies of it, never the file itself.
std::wstring BuiltPlugin();
// tar-double.exe as built.
std::wstring BuiltToolDouble();

}  // namespace quarn::e2e
