#include "common/code_page.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace {

constexpr char NARROW_CODE_PAGE[] = "GBK";
constexpr char16_t REPLACEMENT_CHARACTER = 0xFFFD;

bool IsSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// One iconv descriptor, opened on first use by the thread that owns it.
class CConverter {
public:
    CConverter(const char* to, const char* from)
        : m_handle(iconv_open(to, from))
    {
        // Without the converter no text could be shown at all; the set-up script checks for it.
        if (m_handle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("glibc iconv has no GBK converter");
    }
    ~CConverter() { iconv_close(m_handle); }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;

    iconv_t Handle()
    {
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return m_handle;
    }

private:
    iconv_t m_handle;
};

CConverter& ToNarrow()
{
    thread_local CConverter converter(NARROW_CODE_PAGE, "UTF-16LE");
    return converter;
}

CConverter& ToWide()
{
    thread_local CConverter converter("UTF-16LE", NARROW_CODE_PAGE);
    return converter;
}

} // namespace

std::string WideToNarrow(std::u16string_view units)
{
    CConverter& converter = ToNarrow();
    std::string narrow;
    narrow.reserve(units.size() * 2);
    for (char16_t unit : units) {
        // A surrogate never stands for a character of its own; the pair's character is outside GBK.
        if (IsSurrogate(unit)) {
            narrow += '?';
            continue;
        }
        char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = sizeof in;
        std::size_t outLeft = sizeof out;
        if (iconv(converter.Handle(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0)
            narrow += '?';
        else
            narrow.append(out, static_cast<std::size_t>(outPtr - out));
    }
    return narrow;
}

std::u16string NarrowToWide(std::string_view narrow)
{
    CConverter& converter = ToWide();
    std::u16string wide;
    wide.reserve(narrow.size());
    // Every GBK byte yields at most one code unit, and so does every byte that is skipped.
    std::vector<char> out(2 * narrow.size() + 2);
    std::vector<char> in(narrow.begin(), narrow.end());
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    iconv_t handle = converter.Handle();

    auto flush = [&](char* outPtr) {
        for (const char* p = out.data(); p + 1 < outPtr; p += 2)
            wide += static_cast<char16_t>(static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8);
    };

    while (inLeft > 0) {
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t result = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        flush(outPtr);
        if (result != static_cast<std::size_t>(-1))
            break;
        if (error == EILSEQ) {
            // Show the bad byte as one replacement and go on with the next: what follows is kept.
            wide += REPLACEMENT_CHARACTER;
            ++inPtr;
            --inLeft;
        } else if (error == EINVAL) {
            // A double-byte character cut off at the end.
            wide += REPLACEMENT_CHARACTER;
            break;
        } else if (error != E2BIG) {
            wide += REPLACEMENT_CHARACTER;
            break;
        }
    }
    return wide;
}

std::string WideToUtf8(std::u16string_view units)
{
    std::string text;
    text.reserve(units.size() * 3);
    const auto append = [&](char32_t c) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | c >> 6);
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | c >> 12);
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | c >> 18);
            text += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            text += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    };
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char16_t unit = units[k];
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
            append(0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{units[k + 1]} - 0xDC00));
            ++k;
        } else {
            append(IsSurrogate(unit) ? char32_t{REPLACEMENT_CHARACTER} : char32_t{unit});
        }
    }
    return text;
}

std::string Utf8ToNarrow(std::string_view utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
    std::u16string units;
    units.reserve(utf8.size());
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    for (std::size_t k = 0; k < utf8.size();) {
        const unsigned lead = byte(k);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                           : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t t = 1; t < length; ++t) {
            if (k + t >= utf8.size() || (byte(k + t) & 0xC0) != 0x80) {
                length = 0;
                break;
            }
            c = c << 6 | (byte(k + t) & 0x3F);
        }
        if ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
            length = 0;
        if (length == 0) {
            units += u'?';
            ++k;
            continue;
        }
        // Beyond the BMP GBK has nothing; WideToNarrow makes the lone surrogate a "?".
        units += c < 0x10000 ? static_cast<char16_t>(c) : char16_t{0xD800};
        k += length;
    }
    return WideToNarrow(units);
}

std::string NarrowToUtf8(std::string_view narrow)
{
    // ASCII, the usual case, needs no converter.
    if (std::all_of(narrow.begin(), narrow.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(narrow);
    return WideToUtf8(NarrowToWide(narrow));
}
