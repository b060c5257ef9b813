// What the double is to do for one archive: files beside it named after the
// archive's file name A, as A.tf, A.tvf, A.tf.err, A.tvf.err, A.exit,
// A.delay and the folder A.xf holding the members to extract.
#pragma once

#include <string>

namespace quarn {

class Scenario {
public:
    // `folder` holds the scenario files; `archiveArgument` is the archive as
    // the command line named it: only its last component counts.
    Scenario(std::wstring folder, const std::wstring& archiveArgument);

    // False when no scenario file exists for the archive at all.
    bool Exists() const;

    // The path of the scenario file A.`suffix`.
    std::wstring PathOf(const wchar_t* suffix) const;

    // The bytes of A.`suffix` exactly as stored; empty when there is none.
    std::string Bytes(const wchar_t* suffix) const;

    // A.exit, 0 without one.
    int ExitCode() const;

    // A.delay in milliseconds, 0 without one.
    unsigned DelayMilliseconds() const;

private:
    std::wstring folder_;
    std::wstring key_;
};

}  // namespace quarn
