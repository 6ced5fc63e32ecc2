#include "crash/signal_safe_format.h"

#include <cstdint>

namespace {

class CFormatOutput {
public:
    CFormatOutput(char* out, std::size_t capacity)
        : m_out(out)
        , m_capacity(capacity)
    {
    }

    void Put(char c)
    {
        if (m_length + 1 < m_capacity)
            m_out[m_length] = c;
        ++m_length;
    }

    void Finish()
    {
        if (m_capacity > 0)
            m_out[m_length < m_capacity ? m_length : m_capacity - 1] = '\0';
    }

    std::size_t Length() const { return m_length; }

private:
    char* m_out;
    std::size_t m_capacity;
    std::size_t m_length = 0;
};

struct FieldSpec {
    bool zeroPad = false;
    bool leftAlign = false;
    int width = 0;
};

void PutPadded(CFormatOutput& out, const char* text, std::size_t length, const FieldSpec& field, bool numeric)
{
    const std::size_t width = field.width > 0 ? static_cast<std::size_t>(field.width) : 0;
    const std::size_t pad = width > length ? width - length : 0;
    if (!field.leftAlign && pad > 0) {
        // Zeros go after the sign, as printf puts them.
        std::size_t start = 0;
        if (numeric && field.zeroPad && length > 0 && text[0] == '-') {
            out.Put('-');
            start = 1;
        }
        for (std::size_t i = 0; i < pad; ++i)
            out.Put(numeric && field.zeroPad ? '0' : ' ');
        for (std::size_t i = start; i < length; ++i)
            out.Put(text[i]);
        return;
    }
    for (std::size_t i = 0; i < length; ++i)
        out.Put(text[i]);
    for (std::size_t i = 0; i < pad; ++i)
        out.Put(' ');
}

std::size_t UnsignedText(char* digits, std::uintmax_t value, unsigned base, bool upper)
{
    const char* symbols = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char reversed[32];
    std::size_t n = 0;
    do {
        reversed[n++] = symbols[value % base];
        value /= base;
    } while (value != 0);
    for (std::size_t i = 0; i < n; ++i)
        digits[i] = reversed[n - 1 - i];
    return n;
}

} // namespace

std::size_t SignalSafeFormatV(char* out, std::size_t capacity, const char* format, va_list args)
{
    CFormatOutput output(out, capacity);
    for (const char* p = format; *p != '\0'; ++p) {
        if (*p != '%') {
            output.Put(*p);
            continue;
        }
        ++p;
        FieldSpec field;
        for (;; ++p) {
            if (*p == '0')
                field.zeroPad = true;
            else if (*p == '-')
                field.leftAlign = true;
            else
                break;
        }
        while (*p >= '0' && *p <= '9')
            field.width = field.width * 10 + (*p++ - '0');
        bool isLong = false;
        if (*p == 'l') {
            isLong = true;
            ++p;
        }
        char text[40];
        std::size_t length = 0;
        switch (*p) {
        case 'd': {
            const long value = isLong ? va_arg(args, long) : va_arg(args, int);
            // Negate in unsigned arithmetic so the most negative value survives.
            const std::uintmax_t magnitude =
                value < 0 ? std::uintmax_t{0} - static_cast<std::uintmax_t>(value) : static_cast<std::uintmax_t>(value);
            if (value < 0)
                text[length++] = '-';
            length += UnsignedText(text + length, magnitude, 10, false);
            PutPadded(output, text, length, field, true);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            const unsigned long value = isLong ? va_arg(args, unsigned long) : va_arg(args, unsigned);
            length = UnsignedText(text, value, *p == 'u' ? 10 : 16, *p == 'X');
            PutPadded(output, text, length, field, true);
            break;
        }
        case 'p': {
            text[0] = '0';
            text[1] = 'x';
            length = 2 + UnsignedText(text + 2, reinterpret_cast<std::uintptr_t>(va_arg(args, void*)), 16, false);
            PutPadded(output, text, length, field, false);
            break;
        }
        case 'c':
            text[0] = static_cast<char>(va_arg(args, int));
            PutPadded(output, text, 1, field, false);
            break;
        case 's': {
            const char* s = va_arg(args, const char*);
            if (s == nullptr)
                s = "(null)";
            std::size_t n = 0;
            while (s[n] != '\0')
                ++n;
            PutPadded(output, s, n, field, false);
            break;
        }
        case '%':
            output.Put('%');
            break;
        case '\0':
            --p;  // a lone '%' at the end: the loop then stops at the terminator
            break;
        default:
            output.Put('%');
            output.Put(*p);
            break;
        }
    }
    output.Finish();
    return output.Length();
}

std::size_t SignalSafeFormat(char* out, std::size_t capacity, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::size_t length = SignalSafeFormatV(out, capacity, format, args);
    va_end(args);
    return length;
}
