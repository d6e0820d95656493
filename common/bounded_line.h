// Reading text files a line at a time into fixed buffers: the one line reader of both programs.
#pragma once
#include <cstdio>

// Reads one line up to its line feed (which is not kept) from next(), a source of characters that
// gives EOF at the end, into out: at most size - 1 characters are kept and the rest of the line is
// read and dropped; nothing is trimmed (a carriage return stays part of the line); out is always
// terminated. *cut, when given, becomes -1 when characters were dropped, else 0. Returns 0 when
// the end came before any character (out is then ""), -1 when a line was read.
template <typename next_char> int read_bounded_line(next_char next, char *out, int size, int *cut = nullptr)
{
    int length = 0;
    int dropped = 0;
    int c = next();
    const int read_any = c == EOF ? 0 : -1;
    while (c != EOF && c != '\n') {
        if (length < size - 1)
            out[length++] = static_cast<char>(c);
        else
            dropped = -1;
        c = next();
    }
    out[length] = '\0';
    if (cut)
        *cut = dropped;
    return read_any;
}

// The same from a stream, such as the ones open_plain_stream gives.
inline int read_bounded_line(std::FILE *file, char *out, int size, int *cut = nullptr)
{
    return read_bounded_line([file] { return std::fgetc(file); }, out, size, cut);
}
