#include "tools/wine-tar/shell_script.h"

namespace quarn {

std::string QuoteForShell(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += '\'';
    return quoted;
}

std::string BuildShellScript(const std::vector<std::string>& bsdtarArguments,
                             const ScriptFiles& files) {
    // The shell's id first: the waiting side can then tell a shell that died
    // before writing its marker from one still at work.
    std::string script = "echo $$ >" + QuoteForShell(files.pid);
    script += "\nexec </dev/null >" + QuoteForShell(files.output) + " 2>" + QuoteForShell(files.error);
    // The tool's date column and name conversion follow the locale: English
    // month names, and UTF-8 names passed through rather than escaped.
    script += "\nLC_ALL=C.UTF-8 /usr/bin/bsdtar";
    for (const std::string& argument : bsdtarArguments) script += ' ' + QuoteForShell(argument);
    // Wine's environment may carry a Windows PATH, so nothing is looked up.
    script += "\necho $? >" + QuoteForShell(files.exitPart);
    script += "\n/bin/mv -f " + QuoteForShell(files.exitPart) + ' ' + QuoteForShell(files.exit);
    script += '\n';
    return script;
}

}  // namespace quarn
