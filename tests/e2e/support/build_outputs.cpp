#include "tests/e2e/support/build_outputs.h"

#include "tests/support/built_files.h"

namespace quarn::e2e {

std::wstring BuiltPlugin() { return test::WindowsPathOfBuiltFile(QUARN_SPI); }
std::wstring BuiltToolDouble() { return test::WindowsPathOfBuiltFile(TAR_DOUBLE); }

}  // namespace quarn::e2e
