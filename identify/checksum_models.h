#pragma once
// The checksum models the identification knows, one row each: name, parameters, compute. The
// six methods of the checksum page are models too and compute through checksum/'s registers.
// Adding a model is one row in checksum_models.cpp (and its check value in the test).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "checksum/checksum_methods.h"
#include "identify/crc_parameters.h"

enum class ModelFamily : std::uint8_t {
    Sum,        // sum of bytes, kept to the width
    Xor,        // exclusive or of bytes (16 bits: of byte pairs, the first byte high)
    Fletcher,   // two running sums
    Adler,      // two running sums modulo 65521, starting at 1
    Crc,        // a CRC of the catalogue of parametrised CRC algorithms
    PageCrc32,  // the checksum page's CRC32: the low 16 bits of the CRC-32/JAMCRC register
};

struct ChecksumModel {
    const char* name;     // catalogue name ("CRC-16/XMODEM") or family name ("SUM8")
    ModelFamily family;
    unsigned width;       // bits of the value: 8, 16, 24 or 32
    CrcParameters crc;    // Crc: the catalogue's parameters
    std::uint32_t check;  // the value over the ASCII "123456789"
    bool learnsConstant;  // combined with a constant learned from the frames (+ k, XOR k, k - value)
    unsigned simplicity;  // rules that tie rank the lower first
    std::uint32_t (*compute)(const ChecksumModel& model, std::span<const std::uint8_t> bytes);
};

/// Every model, in the order of the registry.
std::span<const ChecksumModel> ChecksumModels();

/// The model's value over `bytes`.
inline std::uint32_t ComputeModel(const ChecksumModel& model, std::span<const std::uint8_t> bytes)
{
    return model.compute(model, bytes);
}

/// The model of that name, or none.
std::optional<std::size_t> FindChecksumModel(std::string_view name);

/// Bytes the value takes in a frame.
constexpr std::size_t ModelBytes(const ChecksumModel& model) { return model.width / 8; }

/// The value of a CRC of any parameters through its table.
std::uint32_t ComputeCatalogueCrc(const CrcParameters& p, std::span<const std::uint8_t> bytes);

class CCrcEngine;
/// The table engine of a Crc row of ChecksumModels().
const CCrcEngine& CatalogueEngine(std::size_t row);
