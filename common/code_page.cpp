#include "common/code_page.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

#include "common/text_utility.h"

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
    for (std::size_t k = 0; k < units.size(); ++k) {
        const char16_t unit = units[k];
        if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] <= 0xDFFF) {
            AppendUtf8Character(text, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{units[k + 1]} - 0xDC00));
            ++k;
        } else {
            AppendUtf8Character(text, unit);  // a lone surrogate becomes U+FFFD
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
    for (std::size_t k = 0; k < utf8.size();) {
        const char32_t c = NextUtf8(utf8, k);
        // Beyond the BMP GBK has nothing; WideToNarrow makes the lone surrogate a "?".
        units += c == NO_CHARACTER ? u'?' : c < 0x10000 ? static_cast<char16_t>(c) : char16_t{0xD800};
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
