// The two described SMS PDU decoders (send and receive) and their helpers. The decoders do not
// validate: a field past the end of the text reads as "0" characters. So the text and the text
// followed by any number of "0"s decode alike, every field is always there under its label, and
// the sanitizers see every read.
//
// Input: one mode byte (bit 0: receive, else send; bit 1: the rest is raw bytes to be shown as
// the page hands them over, upper-case hex without blanks; else the rest is the text itself),
// then the rest.

#include <algorithm>
#include <vector>

#include "common/code_page.h"
#include "common/hex_text.h"
#include "format/pdu_decoder.h"
#include "fuzz_support.h"

namespace {

// Septet i is bits 7i .. 7i + 6 of the octets read as one little-endian bit string.
std::vector<std::uint8_t> ReferenceSeptets(std::span<const std::uint8_t> bytes)
{
    const auto bit = [&](std::size_t k) { return k / 8 < bytes.size() ? (bytes[k / 8] >> (k % 8)) & 1 : 0; };
    std::vector<std::uint8_t> septets(bytes.size() * 8 / 7);
    for (std::size_t i = 0; i < septets.size(); ++i)
        for (std::size_t b = 0; b < 7; ++b)
            septets[i] = static_cast<std::uint8_t>(septets[i] | bit(7 * i + b) << b);
    return septets;
}

std::string ReferenceSwap(std::string_view chars)
{
    std::string swapped;
    for (std::size_t k = 0; k + 1 < chars.size(); k += 2) {
        swapped += chars[k + 1];
        swapped += chars[k];
    }
    if (!swapped.empty() && swapped.back() == 'F')
        swapped.pop_back();
    return swapped;
}

// The lines of a decoded message, split at CR LF; the last (the content) may hold CR LF itself.
std::vector<std::string> Lines(const std::string& text, std::size_t count)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (lines.size() + 1 < count) {
        const std::size_t end = text.find("\r\n", from);
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    lines.push_back(text.substr(from));
    return lines;
}

void CheckLayout(const std::string& decoded, bool receive, std::string_view text)
{
    const std::u16string_view labels[] = {u"SMSC号码:", receive ? u"回复号码:" : u"发送号码:", u"协议标识:", u"编码方式:",
                                          receive ? u"服务时间戳:" : u"有效期:", u"信息长度:", u"信息内容:"};
    const std::vector<std::string> lines = Lines(decoded, std::size(labels));
    FUZZ_CHECK(lines.size() == std::size(labels), Shown(text) + " -> " + Shown(decoded));
    for (std::size_t k = 0; k < lines.size(); ++k)
        FUZZ_CHECK(lines[k].starts_with(WideToNarrow(labels[k])), Shown(lines[k]));
    const std::string coding = lines[3].substr(WideToNarrow(labels[3]).size());
    FUZZ_CHECK(coding == "7-bit" || coding == "UCS2" || coding == "8-bit", coding);
    // The length line is the octet's decimal value.
    const std::string length = lines[5].substr(WideToNarrow(labels[5]).size());
    FUZZ_CHECK(!length.empty() && length.size() <= 3 && std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                   std::stoi(length) <= 255,
               length);
    const std::string content = lines[6].substr(WideToNarrow(labels[6]).size());
    if (coding == "7-bit")
        FUZZ_CHECK(std::all_of(content.begin(), content.end(), [](char c) { return c != 0 && static_cast<unsigned char>(c) < 0x80; }), Shown(content));
    if (coding == "UCS2")
        FUZZ_CHECK(content.size() <= PDU_CONTENT_BYTES);
    if (receive)
        FUZZ_CHECK(lines[4].substr(WideToNarrow(labels[4]).size()).starts_with("20"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CFuzzInput input(data, size);
    const std::uint8_t mode = input.Byte();
    const bool receive = mode & 1;
    const bool fromBytes = mode & 2;
    std::string text;
    if (fromBytes) {
        text = FormatHexBytes(input.Rest());
        std::erase(text, ' ');
    } else {
        text = input.RestText();
    }

    const std::string decoded = receive ? DecodeReceivePdu(text) : DecodeSendPdu(text);
    // From hex digits no zero character comes into a field, and a zero ends the content.
    if (fromBytes)
        FUZZ_CHECK(decoded.find('\0') == std::string::npos, Shown(text));

    // Nothing is read past the end: what lies there reads as '0' characters, as the padding does.
    // The longest read reaches 2 * (1 + 255) + 6 * 2 + 255 * 2 + 14 + 2 characters; 2048 cover it.
    const std::string padded = text + std::string(2048, '0');
    FUZZ_CHECK(decoded == (receive ? DecodeReceivePdu(padded) : DecodeSendPdu(padded)), Shown(text));

    // The page's view: decoded only after "089", in the chosen direction.
    const std::string view = DecodePdu(text, receive ? PduDirection::Receive : PduDirection::Send);
    FUZZ_CHECK(view == (text.starts_with("089") ? decoded : WideToNarrow(u"非PDU编码格式")));

    // Hex digits only, nothing but the content can hold a line break: all seven fields are there.
    if (fromBytes)
        CheckLayout(decoded, receive, text);

    // The helpers on the same input.
    const std::span<const std::uint8_t> raw(data, size);
    FUZZ_CHECK(UnpackSeptets(raw) == ReferenceSeptets(raw));
    FUZZ_CHECK(SwapSemiOctets(text) == ReferenceSwap(text));
    const std::vector<std::uint8_t> bytes = HexTextToBytes(text);
    FUZZ_CHECK(bytes.size() == text.size() / 2);
    if (fromBytes)
        FUZZ_CHECK(std::equal(bytes.begin(), bytes.end(), raw.begin() + 1));
    FUZZ_CHECK(Ucs2ToNarrow(raw).size() <= PDU_CONTENT_BYTES);
    return 0;
}
