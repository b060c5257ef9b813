#include "bridge/capture_file.h"

namespace quarn {
namespace {

constexpr DWORD kChunkBytes = 64 * 1024;
// Readers, the tool and its console host may all hold the file at once: the
// tool-run lock, not the sharing mode, keeps operations apart.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

UniqueFile CreateCaptureFile(const wchar_t* path) {
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    return UniqueFile(::CreateFileW(path, GENERIC_WRITE, kShareAll, &inheritable, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring DecodeCaptureText(const std::string& bytes) {
    if (bytes.empty()) return {};
    int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(units > 0 ? units : 0, L'\0');
    if (units > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], units);
    }
    return text;
}

bool CaptureReader::Open(const wchar_t* path) {
    file_.reset(::CreateFileW(path, GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    buffer_.clear();
    next_ = 0;
    atEnd_ = false;
    return file_.valid();
}

bool CaptureReader::Rewind() {
    if (!file_) return false;
    buffer_.clear();
    next_ = 0;
    atEnd_ = false;
    return ::SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool CaptureReader::Fill() {
    if (atEnd_ || !file_) return false;
    buffer_.erase(0, next_);
    next_ = 0;
    size_t old = buffer_.size();
    buffer_.resize(old + kChunkBytes);
    DWORD read = 0;
    if (!::ReadFile(file_.get(), &buffer_[old], kChunkBytes, &read, nullptr)) read = 0;
    buffer_.resize(old + read);
    if (read == 0) atEnd_ = true;
    return read > 0;
}

bool CaptureReader::ReadLine(std::wstring& line, bool* endedByLineFeed) {
    size_t feed;
    while ((feed = buffer_.find('\n', next_)) == std::string::npos) {
        if (!Fill()) break;
    }
    if (feed == std::string::npos && next_ >= buffer_.size()) return false;

    size_t end = feed == std::string::npos ? buffer_.size() : feed;
    std::string bytes = buffer_.substr(next_, end - next_);
    next_ = feed == std::string::npos ? buffer_.size() : feed + 1;
    // Text mode: a carriage return before the line feed is part of the line end.
    if (feed != std::string::npos && !bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    line = DecodeCaptureText(bytes);
    if (endedByLineFeed != nullptr) *endedByLineFeed = feed != std::string::npos;
    return true;
}

}  // namespace quarn
