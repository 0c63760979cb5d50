// A file opened for reading, closed at the end: the library reads the host's logo and a
// skin's files, and writes nothing.
#pragma once

#include <windows.h>

// CreateFile ... CloseHandle.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const char* path)
        : handle_(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)),
          openError_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS)
    {
    }
    ~ReadOnlyFile()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool Read(void* buffer, DWORD size) const
    {
        DWORD read = 0;
        return handle_ != INVALID_HANDLE_VALUE && ReadFile(handle_, buffer, size, &read, nullptr) && read == size;
    }

    LONGLONG Size() const
    {
        LARGE_INTEGER size = {};
        return handle_ != INVALID_HANDLE_VALUE && GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
    }

    // Why the file could not be opened; ERROR_SUCCESS when it was.
    DWORD OpenError() const { return openError_; }

private:
    HANDLE handle_;
    DWORD openError_;
};
