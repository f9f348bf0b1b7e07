#include "components/connector/header.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

Header::Header() : m_uid {}, m_iVer(0), m_iBodySize(0), m_iChecksum(0), m_iBodyFormat(0), m_fixed {} {}

void Header::setUid(const char* uid) { memcpy(m_uid, uid, 4); }

// A paint body is megabytes, so the sum is taken 16 bytes at a time: each
// byte XOR 0x80 is its signed value plus 128, and the unsigned sums of those
// come from one SAD per 16 bytes; 128 per byte is taken off at the end.
int header_checksum(const void* body, int size)
{
    const auto* bytes = static_cast<const int8_t*>(body);
    uint32_t sum = 0;
    int i = 0;
#ifdef __SSE2__
    const __m128i flip = _mm_set1_epi8(char(0x80));
    const __m128i zero = _mm_setzero_si128();
    __m128i lanes = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        lanes = _mm_add_epi64(lanes, _mm_sad_epu8(_mm_xor_si128(v, flip), zero));
    }
    uint64_t halves[2];
    _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), lanes);
    sum = uint32_t(halves[0] + halves[1] - 128ull * uint64_t(i));
#endif
    for (; i < size; ++i)
        sum += uint32_t(int32_t(bytes[i]));
    return int(sum);
}

int Header::generateChecksumData(const void* body) const { return header_checksum(body, m_iBodySize); }

bool Header::checkChecksumData(const void* body) const { return generateChecksumData(body) == m_iChecksum; }

bool Header::checkHeaderValidation() const
{
    return memcmp(m_uid, "VORA", 4) == 0 && m_iVer == 1 && m_iBodyFormat == 0;
}

void Header::unpack(const IBuffer* wire)
{
    if (wire->getSize() != SIZE)
        exit(0);
    const auto* p = static_cast<const unsigned char*>(wire->getBuffer());
    memcpy(m_uid, p, 4);
    memcpy(&m_iVer, p + 4, 4);
    memcpy(&m_iBodySize, p + 8, 4);
    memcpy(&m_iChecksum, p + 12, 4);
    memcpy(&m_iBodyFormat, p + 16, 4);
}

IBuffer* Header::pack() const
{
    memset(m_fixed, 0, SIZE);
    memcpy(m_fixed, m_uid, 4);
    memcpy(m_fixed + 4, &m_iVer, 4);
    memcpy(m_fixed + 8, &m_iBodySize, 4);
    memcpy(m_fixed + 12, &m_iChecksum, 4);
    memcpy(m_fixed + 16, &m_iBodyFormat, 4);
    auto* out = new Buffer;
    out->setSize(SIZE);
    out->setBuffer(m_fixed);
    return out;
}
