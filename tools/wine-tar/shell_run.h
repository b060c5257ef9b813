// Running the script through /bin/sh on the Unix side and waiting for it.
#pragma once

#include "tools/wine-tar/work_files.h"

namespace quarn {

// Starts the shell on `files`' script and waits for the exit marker; false
// when the shell cannot be started or ends without writing the marker.
// `exitCode` is then bsdtar's.
bool RunShellScript(const WorkFiles& files, int& exitCode);

}  // namespace quarn
