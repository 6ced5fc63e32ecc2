#pragma once
// Modbus RTU frames as a device sends them, for the tests that look for their checksum: a read of
// 1 to 9 holding registers, or its response, with CRC-16/MODBUS low byte first.

#include <random>
#include <vector>

#include "checksum/checksum_methods.h"

inline std::vector<std::uint8_t> ModbusFrame(std::mt19937& random, bool request)
{
    std::vector<std::uint8_t> frame{0x01, 0x03};
    const int registers = 1 + int(random() % 9);
    if (request)
        frame.insert(frame.end(), {std::uint8_t(random()), std::uint8_t(random()), 0x00, std::uint8_t(registers)});
    else
        for (frame.push_back(std::uint8_t(2 * registers)); frame.size() < 3u + 2 * registers;)
            frame.push_back(std::uint8_t(random()));
    const ChecksumBytes crc = ComputeCrc16(frame, 0, frame.size());
    frame.insert(frame.end(), {crc.low, crc.high});
    return frame;
}
