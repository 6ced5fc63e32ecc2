#include "identify/checksum_models.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "identify/crc_engine.h"

namespace {

template <typename Register>
std::uint32_t ComputeRegister(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    return Register::Result(RunRegister<Register>(bytes, 0, bytes.size()));
}

std::uint32_t ComputeSum16(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum = 0;
    for (std::uint8_t b : bytes)
        sum += b;
    return sum & 0xFFFF;
}

// Pairs of bytes, the first the high one; an odd last byte is a high byte over a zero.
std::uint32_t ComputeXor16(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k)
        value ^= k % 2 == 0 ? std::uint32_t{bytes[k]} << 8 : bytes[k];
    return value;
}

// u-blox UBX: CK_A and CK_B, 8-bit running sums; the value is CK_A | CK_B << 8, so the frame's
// order "CK_A CK_B" is low byte first.
std::uint32_t ComputeFletcher8(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    std::uint8_t a = 0, b = 0;
    for (std::uint8_t byte : bytes) {
        a = static_cast<std::uint8_t>(a + byte);
        b = static_cast<std::uint8_t>(b + a);
    }
    return a | std::uint32_t{b} << 8;
}

// Fletcher-16: sums modulo 255, the value sum2 << 8 | sum1.
std::uint32_t ComputeFletcher16(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    std::uint32_t sum1 = 0, sum2 = 0;
    for (std::uint8_t byte : bytes) {
        sum1 = (sum1 + byte) % 255;
        sum2 = (sum2 + sum1) % 255;
    }
    return sum2 << 8 | sum1;
}

std::uint32_t ComputeAdler32(const ChecksumModel&, std::span<const std::uint8_t> bytes)
{
    constexpr std::uint32_t MOD = 65521;
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % MOD;
        b = (b + a) % MOD;
    }
    return b << 16 | a;
}

std::uint32_t ComputeCrc(const ChecksumModel& model, std::span<const std::uint8_t> bytes);

constexpr ChecksumModel Family(const char* name, ModelFamily family, unsigned width, std::uint32_t check,
                               bool learnsConstant, unsigned simplicity,
                               std::uint32_t (*compute)(const ChecksumModel&, std::span<const std::uint8_t>))
{
    return {name, family, width, {}, check, learnsConstant, simplicity, compute};
}

constexpr ChecksumModel Crc(const char* name, unsigned width, std::uint32_t poly, std::uint32_t init, bool refin,
                            bool refout, std::uint32_t xorout, std::uint32_t check,
                            std::uint32_t (*compute)(const ChecksumModel&, std::span<const std::uint8_t>) = ComputeCrc)
{
    return {name, ModelFamily::Crc, width, {width, poly, init, refin, refout, xorout}, check, false, 3, compute};
}

// The catalogue rows are the public "Catalogue of parametrised CRC algorithms" (CRC RevEng),
// every entry 8, 16, 24 or 32 bits wide: name, width, poly, init, refin, refout, xorout, check.
const ChecksumModel MODELS[] = {
    Family("SUM8", ModelFamily::Sum, 8, 0xDD, true, 0, ComputeRegister<SumRegister>),
    Family("XOR8", ModelFamily::Xor, 8, 0x31, true, 0, ComputeRegister<BccRegister>),
    Family("SUM16", ModelFamily::Sum, 16, 0x01DD, true, 1, ComputeSum16),
    Family("XOR16", ModelFamily::Xor, 16, 0x3908, true, 2, ComputeXor16),
    Family("FLETCHER-8", ModelFamily::Fletcher, 16, 0x15DD, false, 4, ComputeFletcher8),
    Family("FLETCHER-16", ModelFamily::Fletcher, 16, 0x1EDE, false, 4, ComputeFletcher16),
    Family("ADLER-32", ModelFamily::Adler, 32, 0x091E01DE, false, 4, ComputeAdler32),
    Family("CRC32-LOW16", ModelFamily::PageCrc32, 16, 0xC6D9, false, 5, ComputeRegister<Crc32Register>),

    Crc("CRC-8/AUTOSAR", 8, 0x2F, 0xFF, false, false, 0xFF, 0xDF),
    Crc("CRC-8/BLUETOOTH", 8, 0xA7, 0x00, true, true, 0x00, 0x26),
    Crc("CRC-8/CDMA2000", 8, 0x9B, 0xFF, false, false, 0x00, 0xDA),
    Crc("CRC-8/DARC", 8, 0x39, 0x00, true, true, 0x00, 0x15),
    Crc("CRC-8/DVB-S2", 8, 0xD5, 0x00, false, false, 0x00, 0xBC),
    Crc("CRC-8/GSM-A", 8, 0x1D, 0x00, false, false, 0x00, 0x37),
    Crc("CRC-8/GSM-B", 8, 0x49, 0x00, false, false, 0xFF, 0x94),
    Crc("CRC-8/HITAG", 8, 0x1D, 0xFF, false, false, 0x00, 0xB4),
    Crc("CRC-8/I-432-1", 8, 0x07, 0x00, false, false, 0x55, 0xA1),
    Crc("CRC-8/I-CODE", 8, 0x1D, 0xFD, false, false, 0x00, 0x7E),
    Crc("CRC-8/LTE", 8, 0x9B, 0x00, false, false, 0x00, 0xEA),
    Crc("CRC-8/MAXIM-DOW", 8, 0x31, 0x00, true, true, 0x00, 0xA1),
    Crc("CRC-8/MIFARE-MAD", 8, 0x1D, 0xC7, false, false, 0x00, 0x99),
    Crc("CRC-8/NRSC-5", 8, 0x31, 0xFF, false, false, 0x00, 0xF7),
    Crc("CRC-8/OPENSAFETY", 8, 0x2F, 0x00, false, false, 0x00, 0x3E),
    Crc("CRC-8/ROHC", 8, 0x07, 0xFF, true, true, 0x00, 0xD0),
    Crc("CRC-8/SAE-J1850", 8, 0x1D, 0xFF, false, false, 0xFF, 0x4B),
    Crc("CRC-8/SMBUS", 8, 0x07, 0x00, false, false, 0x00, 0xF4),
    Crc("CRC-8/TECH-3250", 8, 0x1D, 0xFF, true, true, 0x00, 0x97),
    Crc("CRC-8/WCDMA", 8, 0x9B, 0x00, true, true, 0x00, 0x25),

    Crc("CRC-16/ARC", 16, 0x8005, 0x0000, true, true, 0x0000, 0xBB3D),
    Crc("CRC-16/CDMA2000", 16, 0xC867, 0xFFFF, false, false, 0x0000, 0x4C06),
    Crc("CRC-16/CMS", 16, 0x8005, 0xFFFF, false, false, 0x0000, 0xAEE7),
    Crc("CRC-16/DDS-110", 16, 0x8005, 0x800D, false, false, 0x0000, 0x9ECF),
    Crc("CRC-16/DECT-R", 16, 0x0589, 0x0000, false, false, 0x0001, 0x007E),
    Crc("CRC-16/DECT-X", 16, 0x0589, 0x0000, false, false, 0x0000, 0x007F),
    Crc("CRC-16/DNP", 16, 0x3D65, 0x0000, true, true, 0xFFFF, 0xEA82),
    Crc("CRC-16/EN-13757", 16, 0x3D65, 0x0000, false, false, 0xFFFF, 0xC2B7),
    Crc("CRC-16/GENIBUS", 16, 0x1021, 0xFFFF, false, false, 0xFFFF, 0xD64E),
    Crc("CRC-16/GSM", 16, 0x1021, 0x0000, false, false, 0xFFFF, 0xCE3C),
    Crc("CRC-16/IBM-3740", 16, 0x1021, 0xFFFF, false, false, 0x0000, 0x29B1),
    Crc("CRC-16/IBM-SDLC", 16, 0x1021, 0xFFFF, true, true, 0xFFFF, 0x906E),
    Crc("CRC-16/ISO-IEC-14443-3-A", 16, 0x1021, 0xC6C6, true, true, 0x0000, 0xBF05),
    Crc("CRC-16/KERMIT", 16, 0x1021, 0x0000, true, true, 0x0000, 0x2189),
    Crc("CRC-16/LJ1200", 16, 0x6F63, 0x0000, false, false, 0x0000, 0xBDF4),
    Crc("CRC-16/M17", 16, 0x5935, 0xFFFF, false, false, 0x0000, 0x772B),
    Crc("CRC-16/MAXIM-DOW", 16, 0x8005, 0x0000, true, true, 0xFFFF, 0x44C2),
    Crc("CRC-16/MCRF4XX", 16, 0x1021, 0xFFFF, true, true, 0x0000, 0x6F91),
    Crc("CRC-16/MODBUS", 16, 0x8005, 0xFFFF, true, true, 0x0000, 0x4B37, ComputeRegister<Crc16Register>),
    Crc("CRC-16/NRSC-5", 16, 0x080B, 0xFFFF, true, true, 0x0000, 0xA066),
    Crc("CRC-16/OPENSAFETY-A", 16, 0x5935, 0x0000, false, false, 0x0000, 0x5D38),
    Crc("CRC-16/OPENSAFETY-B", 16, 0x755B, 0x0000, false, false, 0x0000, 0x20FE),
    Crc("CRC-16/PROFIBUS", 16, 0x1DCF, 0xFFFF, false, false, 0xFFFF, 0xA819),
    Crc("CRC-16/RIELLO", 16, 0x1021, 0xB2AA, true, true, 0x0000, 0x63D0),
    Crc("CRC-16/SPI-FUJITSU", 16, 0x1021, 0x1D0F, false, false, 0x0000, 0xE5CC),
    Crc("CRC-16/T10-DIF", 16, 0x8BB7, 0x0000, false, false, 0x0000, 0xD0DB),
    Crc("CRC-16/TELEDISK", 16, 0xA097, 0x0000, false, false, 0x0000, 0x0FB3),
    Crc("CRC-16/TMS37157", 16, 0x1021, 0x89EC, true, true, 0x0000, 0x26B1),
    Crc("CRC-16/UMTS", 16, 0x8005, 0x0000, false, false, 0x0000, 0xFEE8, ComputeRegister<Crc16SRegister>),
    Crc("CRC-16/USB", 16, 0x8005, 0xFFFF, true, true, 0xFFFF, 0xB4C8),
    Crc("CRC-16/XMODEM", 16, 0x1021, 0x0000, false, false, 0x0000, 0x31C3),

    Crc("CRC-24/BLE", 24, 0x00065B, 0x555555, true, true, 0x000000, 0xC25A56),
    Crc("CRC-24/FLEXRAY-A", 24, 0x5D6DCB, 0xFEDCBA, false, false, 0x000000, 0x7979BD),
    Crc("CRC-24/FLEXRAY-B", 24, 0x5D6DCB, 0xABCDEF, false, false, 0x000000, 0x1F23B8),
    Crc("CRC-24/INTERLAKEN", 24, 0x328B63, 0xFFFFFF, false, false, 0xFFFFFF, 0xB4F3E6),
    Crc("CRC-24/LTE-A", 24, 0x864CFB, 0x000000, false, false, 0x000000, 0xCDE703),
    Crc("CRC-24/LTE-B", 24, 0x800063, 0x000000, false, false, 0x000000, 0x23EF52),
    Crc("CRC-24/OPENPGP", 24, 0x864CFB, 0xB704CE, false, false, 0x000000, 0x21CF02),
    Crc("CRC-24/OS-9", 24, 0x800063, 0xFFFFFF, false, false, 0xFFFFFF, 0x200FA5),

    Crc("CRC-32/AIXM", 32, 0x814141AB, 0x00000000, false, false, 0x00000000, 0x3010BF7F),
    Crc("CRC-32/AUTOSAR", 32, 0xF4ACFB13, 0xFFFFFFFF, true, true, 0xFFFFFFFF, 0x1697D06A),
    Crc("CRC-32/BASE91-D", 32, 0xA833982B, 0xFFFFFFFF, true, true, 0xFFFFFFFF, 0x87315576),
    Crc("CRC-32/BZIP2", 32, 0x04C11DB7, 0xFFFFFFFF, false, false, 0xFFFFFFFF, 0xFC891918),
    Crc("CRC-32/CD-ROM-EDC", 32, 0x8001801B, 0x00000000, true, true, 0x00000000, 0x6EC2EDC4),
    Crc("CRC-32/CKSUM", 32, 0x04C11DB7, 0x00000000, false, false, 0xFFFFFFFF, 0x765E7680),
    Crc("CRC-32/ISCSI", 32, 0x1EDC6F41, 0xFFFFFFFF, true, true, 0xFFFFFFFF, 0xE3069283),
    Crc("CRC-32/ISO-HDLC", 32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF, 0xCBF43926),
    Crc("CRC-32/JAMCRC", 32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0x00000000, 0x340BC6D9),
    Crc("CRC-32/MEF", 32, 0x741B8CD7, 0xFFFFFFFF, true, true, 0x00000000, 0xD2C22F51),
    Crc("CRC-32/MPEG-2", 32, 0x04C11DB7, 0xFFFFFFFF, false, false, 0x00000000, 0x0376E6E7),
    Crc("CRC-32/XFER", 32, 0x000000AF, 0x00000000, false, false, 0x00000000, 0xBD0BE338),
};

// The catalogue's engines, one per row (the other rows' stay unused), built once.
const std::vector<std::unique_ptr<CCrcEngine>>& CatalogueEngines()
{
    static const std::vector<std::unique_ptr<CCrcEngine>> engines = [] {
        std::vector<std::unique_ptr<CCrcEngine>> built(std::size(MODELS));
        for (std::size_t k = 0; k < std::size(MODELS); ++k)
            if (MODELS[k].family == ModelFamily::Crc)
                built[k] = std::make_unique<CCrcEngine>(MODELS[k].crc);
        return built;
    }();
    return engines;
}

std::uint32_t ComputeCrc(const ChecksumModel& model, std::span<const std::uint8_t> bytes)
{
    // A row of the registry computes through its own engine; a copy elsewhere through the cache.
    const std::less<const ChecksumModel*> before;
    if (!before(&model, std::begin(MODELS)) && before(&model, std::end(MODELS)))
        return CatalogueEngines()[static_cast<std::size_t>(&model - MODELS)]->Compute(bytes);
    return ComputeCatalogueCrc(model.crc, bytes);
}

// Engines of other parameters (solved CRCs), built on first use and kept: at most MAX_ENGINES,
// as a long session identifies log after log (each engine takes 5 KB). A caller holds its engine
// while it computes, so that clearing the cache on another thread cannot pull it away.
constexpr std::size_t MAX_ENGINES = 256;

std::shared_ptr<const CCrcEngine> EngineFor(const CrcParameters& p)
{
    static std::mutex lock;
    static std::map<std::tuple<unsigned, std::uint32_t, std::uint32_t, bool, bool, std::uint32_t>,
                    std::shared_ptr<const CCrcEngine>>
        engines;
    const auto key = std::tuple(p.width, p.poly, p.init, p.refin, p.refout, p.xorout);
    std::lock_guard guard(lock);
    if (const auto found = engines.find(key); found != engines.end())
        return found->second;
    auto engine = std::make_shared<const CCrcEngine>(p);
    if (engines.size() >= MAX_ENGINES)
        engines.clear();
    engines.emplace(key, engine);
    return engine;
}

} // namespace

std::span<const ChecksumModel> ChecksumModels()
{
    return MODELS;
}

std::optional<std::size_t> FindChecksumModel(std::string_view name)
{
    for (std::size_t k = 0; k < std::size(MODELS); ++k)
        if (name == MODELS[k].name)
            return k;
    return std::nullopt;
}

std::uint32_t ComputeCatalogueCrc(const CrcParameters& p, std::span<const std::uint8_t> bytes)
{
    return EngineFor(p)->Compute(bytes);
}

const CCrcEngine& CatalogueEngine(std::size_t row)
{
    return *CatalogueEngines().at(row);
}
