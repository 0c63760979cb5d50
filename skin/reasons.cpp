#include "skin/reasons.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

Reasons::Reasons(char* out, int size) : out_(size > 0 ? out : nullptr), size_(out ? size : 0)
{
    if (out_)
        out_[0] = '\0';
}

void Reasons::Add(const char* format, ...)
{
    ++count_;
    char line[301];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    const int written = length < 0 ? 0 : length < static_cast<int>(sizeof line) ? length : sizeof line - 1;
    // Once one line is dropped every later one is: the lines that stand keep their order.
    if (dropped_ || !out_ || used_ + written + 1 > size_ - 1) {
        ++dropped_;
        return;
    }
    std::memcpy(out_ + used_, line, static_cast<size_t>(written));
    used_ += written;
    out_[used_++] = '\n';
    out_[used_] = '\0';
}

void Reasons::Finish()
{
    if (!dropped_ || !out_)
        return;
    // Whole lines go from the end until the count of what is missing fits after them.
    for (;;) {
        char last[64];
        const int length = std::snprintf(last, sizeof last, "and %d more problem%s", dropped_, dropped_ == 1 ? "" : "s");
        if (used_ + length <= size_ - 1 || used_ == 0) {
            const int room = size_ - 1 - used_;
            const int kept = length < room ? length : room;
            std::memcpy(out_ + used_, last, static_cast<size_t>(kept));
            out_[used_ + kept] = '\0';
            return;
        }
        int start = used_ - 1;  // the newline that ends the last line
        while (start > 0 && out_[start - 1] != '\n')
            --start;
        used_ = start;
        ++dropped_;
    }
}
