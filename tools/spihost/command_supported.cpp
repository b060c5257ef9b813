#include <string>
#include <vector>

#include "plugin/unique_handles.h"
#include "tools/spihost/commands.h"
#include "tools/spihost/output.h"
#include "tools/spihost/table.h"
#include "tools/spihost/text.h"

namespace quarn::spihost {
namespace {

// The plug-in may read this much of the buffer whatever the file's size.
constexpr DWORD kHeadBytes = 2048;

struct Verdict {
    const wchar_t* input;
    int value;
};

std::wstring DescribeVerdict(int value) {
    if (value == 1) return L"supported (1)";
    if (value == 0) return L"not supported (0)";
    return L"unexpected value " + std::to_wstring(value);
}

// Reads up to 2 KiB from the start of `file` into a zero-filled buffer and
// puts the file pointer back at the start for the handle call.
bool ReadHead(HANDLE file, std::vector<unsigned char>& head, DWORD& error) {
    head.assign(kHeadBytes, 0);
    DWORD total = 0;
    while (total < kHeadBytes) {
        DWORD read = 0;
        if (!::ReadFile(file, head.data() + total, kHeadBytes - total, &read, nullptr)) {
            error = ::GetLastError();
            return false;
        }
        if (read == 0) break;
        total += read;
    }
    if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        error = ::GetLastError();
        return false;
    }
    return true;
}

void PrintJson(const Arguments& arguments, const std::vector<Verdict>& verdicts) {
    JsonWriter json;
    BeginJsonDocument(json, arguments);
    json.Key("file");
    json.String(arguments.file);
    for (const Verdict& verdict : verdicts) {
        json.Key(Utf8FromWide(verdict.input));
        json.BeginObject();
        json.Key("value");
        json.Number(verdict.value);
        json.Key("supported");
        json.Bool(verdict.value == 1);
        json.EndObject();
    }
    json.EndObject();
    WriteOutput(json.text() + "\n");
}

void PrintTable(const std::vector<Verdict>& verdicts) {
    std::vector<std::vector<std::wstring>> rows;
    for (const Verdict& verdict : verdicts) rows.push_back({verdict.input, DescribeVerdict(verdict.value)});
    WriteOutput(FormatTable({{L"given", Align::Left}, {L"verdict", Align::Left}}, rows));
}

}  // namespace

int RunSupported(const Arguments& arguments) {
    std::optional<Plugin> plugin = OpenPlugin(arguments, {Call::IsSupported});
    if (!plugin) return kExitUsage;

    const std::optional<HostPath> file = PrepareFileArgument(*plugin, arguments);
    if (!file) return kExitFailure;
    UniqueFile handle(::CreateFileW(arguments.file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        ReportError("cannot open " + Utf8FromWide(arguments.file) + ": " + DescribeWindowsError(::GetLastError()));
        return kExitFailure;
    }
    std::vector<unsigned char> head;
    DWORD readError = 0;
    if (!ReadHead(handle.get(), head, readError)) {
        ReportError("cannot read " + Utf8FromWide(arguments.file) + ": " + DescribeWindowsError(readError));
        return kExitFailure;
    }

    // The plug-in tells a handle from a buffer address by the upper 16 bits.
    const DWORD_PTR handleValue = reinterpret_cast<DWORD_PTR>(handle.get());
    if ((handleValue >> 16) != 0) {
        ReportError("the file handle does not fit 16 bits, so the plug-in would take it for an address");
        return kExitFailure;
    }
    const std::vector<Verdict> verdicts = {
        {L"handle", plugin->IsSupported(*file, handleValue)},
        {L"buffer", plugin->IsSupported(*file, reinterpret_cast<DWORD_PTR>(head.data()))},
    };

    if (arguments.json) {
        PrintJson(arguments, verdicts);
    } else {
        PrintTable(verdicts);
    }
    for (const Verdict& verdict : verdicts) {
        if (verdict.value != 1) return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace quarn::spihost
