// The row stack's kernel for processors with SSE2: a row's bytes added to their 16-bit sums
// sixteen at a time. Every x64 processor has SSE2; the x86 program is built for processors
// without it, so this file alone is built with it there, and the reducer calls it only where
// its caller has found the processor has it. The plain loop in BitmapReducer.cpp is what it
// computes. It includes nothing of the program's but its own header: code of a header's inline
// functions built here with SSE2 could be the copy that the linker keeps for every caller.

#include "BitmapStackSse2.h"

#include <emmintrin.h>

namespace BitmapFile {

std::size_t AddBytesSse2(const std::uint8_t* row, std::uint16_t* sums, std::size_t n)
{
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        auto* at = reinterpret_cast<__m128i*>(sums + i);
        _mm_storeu_si128(at, _mm_add_epi16(_mm_loadu_si128(at), _mm_unpacklo_epi8(bytes, zero)));
        _mm_storeu_si128(at + 1, _mm_add_epi16(_mm_loadu_si128(at + 1), _mm_unpackhi_epi8(bytes, zero)));
    }
    return i;
}

}  // namespace BitmapFile
