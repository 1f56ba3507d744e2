#pragma once
// The row stack's SSE2 kernel (BitmapStackSse2.cpp), called only where the processor has SSE2.

#include <cstddef>
#include <cstdint>

namespace BitmapFile {

// Adds a row's first bytes to their 16-bit sums, sixteen at a time, and returns how many it
// added: n rounded down to a multiple of sixteen.
std::size_t AddBytesSse2(const std::uint8_t* row, std::uint16_t* sums, std::size_t n);

}  // namespace BitmapFile
