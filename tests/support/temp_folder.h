// A fresh folder under the temporary folder, removed with its contents when
// the test ends; and small file helpers for fixtures.
#pragma once

#include <string>

namespace quarn::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Writes `bytes` to `path`, replacing the file, creating missing folders.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole file, or an empty string when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
// Removes a tree (read-only files included); missing paths are fine.
void RemoveTreeForTest(const std::wstring& path);
// UTF-16 to UTF-8 and back, for messages and logs.
std::string Utf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

}  // namespace quarn::test
