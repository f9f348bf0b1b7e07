#pragma once
// The frame checksum, shared by the engine and the protocol client: every
// body byte read as a signed 8-bit value, summed with 32-bit wrap-around.
#include <cstddef>
#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// A paint body is megabytes, so the sum is taken 16 bytes at a time: each
// byte XOR 0x80 is its signed value plus 128, and the unsigned sums of those
// come from one SAD per 16 bytes; 128 per byte is taken off at the end.
inline int32_t signed_byte_sum(const void* data, size_t n)
{
    const auto* bytes = static_cast<const int8_t*>(data);
    uint32_t sum = 0;
    size_t i = 0;
#ifdef __SSE2__
    const __m128i flip = _mm_set1_epi8(char(0x80));
    const __m128i zero = _mm_setzero_si128();
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(_mm_xor_si128(v, flip), zero));
    }
    uint64_t halves[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), lanes);
    sum = uint32_t(halves[0] + halves[1] - 128ull * uint64_t(i));
#endif
    for (; i < n; ++i)
        sum += uint32_t(int32_t(bytes[i]));
    return int32_t(sum);
}
