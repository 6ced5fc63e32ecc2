#include "checksum/checksum_search.h"

#include "common/hex_text.h"

namespace {

// The same CRC16S as StepCrc16S, a byte at a time: the eight bit steps of a byte depend only on
// the byte and the register's high byte, so they fold into one table.
constexpr CrcTable BuildCrc16STable()
{
    CrcTable table{};
    for (std::uint32_t i = 0; i < 256; ++i)
        table[i] = StepCrc16S(0, static_cast<std::uint8_t>(i));
    return table;
}
constexpr CrcTable CRC16S_TABLE = BuildCrc16STable();

struct BccRegister {
    using Value = std::uint8_t;
    static constexpr Value INIT = 0;
    static Value Step(Value r, std::uint8_t b) { return r ^ b; }
    static std::uint16_t Result(Value r) { return r; }
};

struct SumRegister {
    using Value = std::uint8_t;
    static constexpr Value INIT = 0;
    static Value Step(Value r, std::uint8_t b) { return static_cast<Value>(r + b); }
    static std::uint16_t Result(Value r) { return r; }
};

struct LrcRegister : SumRegister {
    static std::uint16_t Result(Value r) { return static_cast<std::uint8_t>(-r); }
};

struct Crc16Register {
    using Value = std::uint16_t;
    static constexpr Value INIT = CRC16_INIT;
    static Value Step(Value r, std::uint8_t b) { return StepCrc16(r, b); }
    static std::uint16_t Result(Value r) { return r; }
};

struct Crc16SRegister {
    using Value = std::uint16_t;
    static constexpr Value INIT = CRC16S_INIT;
    static Value Step(Value r, std::uint8_t b)
    {
        return static_cast<Value>((r << 8) ^ CRC16S_TABLE[(r >> 8) ^ b]);
    }
    static std::uint16_t Result(Value r) { return r; }
};

struct Crc32Register {
    using Value = std::uint32_t;
    static constexpr Value INIT = CRC32_INIT;
    static Value Step(Value r, std::uint8_t b) { return StepCrc32(r, b); }
    static std::uint16_t Result(Value r) { return static_cast<std::uint16_t>(r & 0xFFFF); }
};

// For a fixed start the register over [i, j) is the register over [i, j - 1) advanced by one
// byte, so each start costs one pass to the end of the frame: O(n^2) per method.
template <typename Register, std::size_t WIDTH>
bool Search(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
            const std::atomic<bool>* cancel)
{
    const std::size_t n = frame.size();
    const std::uint8_t* bytes = frame.data();
    std::vector<ChecksumMatch> batch;
    for (std::size_t i = 0; i + WIDTH < n; ++i) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        typename Register::Value reg = Register::INIT;
        // j is the index of the first checksum byte; the range is bytes i .. j - 1.
        for (std::size_t j = i + 1; j + WIDTH <= n; ++j) {
            reg = Register::Step(reg, bytes[j - 1]);
            const std::uint16_t value = Register::Result(reg);
            bool match;
            if constexpr (WIDTH == 1)
                match = j > i + 1 && value == bytes[j];  // a one-byte range is never a match
            else
                match = (value & 0xFF) == bytes[j] && (value >> 8) == bytes[j + 1];
            if (match)
                batch.push_back({method, static_cast<std::uint16_t>(i + 1), static_cast<std::uint16_t>(j), value});
        }
        if (!batch.empty()) {
            sink(batch);
            batch.clear();
        }
    }
    return true;
}

} // namespace

bool SearchChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame, const ChecksumMatchSink& sink,
                     const std::atomic<bool>* cancel)
{
    switch (method) {
    case ChecksumMethod::BCC: return Search<BccRegister, 1>(method, frame, sink, cancel);
    case ChecksumMethod::SUM: return Search<SumRegister, 1>(method, frame, sink, cancel);
    case ChecksumMethod::LRC: return Search<LrcRegister, 1>(method, frame, sink, cancel);
    case ChecksumMethod::CRC16: return Search<Crc16Register, 2>(method, frame, sink, cancel);
    case ChecksumMethod::CRC16S: return Search<Crc16SRegister, 2>(method, frame, sink, cancel);
    case ChecksumMethod::CRC32: return Search<Crc32Register, 2>(method, frame, sink, cancel);
    }
    return true;
}

std::vector<ChecksumMatch> FindChecksums(ChecksumMethod method, std::span<const std::uint8_t> frame)
{
    std::vector<ChecksumMatch> matches;
    SearchChecksums(method, frame, [&](std::span<const ChecksumMatch> batch) {
        matches.insert(matches.end(), batch.begin(), batch.end());
    });
    return matches;
}

std::string FormatMatchContent(const ChecksumMatch& match, std::span<const std::uint8_t> frame)
{
    if (match.start < 1 || match.end < match.start || match.end > frame.size())
        return {};
    return FormatHexBytes(frame.subspan(match.start - 1u, static_cast<std::size_t>(match.end - match.start + 1)));
}
