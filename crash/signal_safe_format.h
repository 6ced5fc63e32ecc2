#pragma once
// printf-style formatting that is safe inside a signal handler: no allocation, no locale, no lock.

#include <cstdarg>
#include <cstddef>

/// Formats like std::snprintf for the conversions %s, %d, %u, %x, %X, %ld, %lu, %lx, %lX, %p, %c
/// and %%, with the flags '0' and '-' and a field width. Writes at most `capacity` bytes including
/// the terminating zero (none when `capacity` is 0) and returns the length the whole text needs.
std::size_t SignalSafeFormat(char* out, std::size_t capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

std::size_t SignalSafeFormatV(char* out, std::size_t capacity, const char* format, va_list args);
