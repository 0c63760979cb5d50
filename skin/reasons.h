// What is wrong with a skin, one line per problem, into the host's buffer: never past its
// end, always terminated; lines that do not fit are dropped and counted in a last line.
#pragma once

class Reasons {
public:
    // out may be null, or size 0 or less: the problems are then only counted.
    Reasons(char* out, int size);
    Reasons(const Reasons&) = delete;
    Reasons& operator=(const Reasons&) = delete;

    // One problem, printf-style; the line is cut at 300 characters.
    void Add(const char* format, ...);
    bool Any() const { return count_ > 0; }
    // Writes the count of the lines that did not fit; the buffer is final from then on.
    void Finish();

private:
    char* out_;
    int size_;
    int used_ = 0;     // characters written, before the terminator
    int count_ = 0;    // problems added
    int dropped_ = 0;  // of them, not written
};
