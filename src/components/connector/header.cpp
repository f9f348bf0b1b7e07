#include "components/connector/header.h"

#include "components/connector/byte_sum.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

Header::Header() : m_uid {}, m_iVer(0), m_iBodySize(0), m_iChecksum(0), m_iBodyFormat(0), m_fixed {} {}

void Header::setUid(const char* uid) { memcpy(m_uid, uid, 4); }

int header_checksum(const void* body, int size) { return signed_byte_sum(body, size_t(std::max(size, 0))); }

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

std::unique_ptr<IBuffer> Header::pack() const
{
    memset(m_fixed, 0, SIZE);
    memcpy(m_fixed, m_uid, 4);
    memcpy(m_fixed + 4, &m_iVer, 4);
    memcpy(m_fixed + 8, &m_iBodySize, 4);
    memcpy(m_fixed + 12, &m_iChecksum, 4);
    memcpy(m_fixed + 16, &m_iBodyFormat, 4);
    auto out = std::make_unique<Buffer>();
    out->setSize(SIZE);
    out->setBuffer(m_fixed);
    return out;
}
