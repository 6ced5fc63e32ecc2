#pragma once
// SMS PDU text (as GSM modems exchange it) decoded into labelled lines of narrow (GBK) text.
// The decoders do not validate: every field is read where the lengths before it put it, and a
// character beyond the end of the text reads as "0".

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class PduDirection : std::uint8_t {
    Send,     // "发送解码", SMS-SUBMIT
    Receive,  // "接收解码", SMS-DELIVER
};

// The UCS2 content is converted into this many bytes at most; a longer one shows empty.
inline constexpr std::size_t PDU_CONTENT_BYTES = 160;

/// Two characters per byte, high digit first; a character that is no hex digit counts 0.
std::vector<std::uint8_t> HexTextToBytes(std::string_view chars);

/// The digits of each octet swapped back into reading order, without a trailing filler "F".
std::string SwapSemiOctets(std::string_view chars);

/// GSM 7-bit unpacking, least significant bit first: m octets give m + m / 7 septets.
std::vector<std::uint8_t> UnpackSeptets(std::span<const std::uint8_t> bytes);

/// Big-endian UTF-16 units in the code page; empty when that needs more than PDU_CONTENT_BYTES.
std::string Ucs2ToNarrow(std::span<const std::uint8_t> bytes);

/// The seven lines of a message handed to the network.
std::string DecodeSendPdu(std::string_view text);

/// The seven lines of a message received from the network.
std::string DecodeReceivePdu(std::string_view text);

/// The PDU view of a blank-free upper-case hex text: decoded in `direction` when it starts
/// "089", otherwise "非PDU编码格式". The labels are in the current language.
std::string DecodePdu(std::string_view text, PduDirection direction);
