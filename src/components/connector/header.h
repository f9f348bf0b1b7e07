#pragma once
#include <memory>

#include "components/connector/buffer.h"

// The fixed 20-byte frame header: uid "VORA", version, body size, checksum,
// body format; little-endian int32 fields.
class Header {
public:
    static const int SIZE = 20;

    Header();
    void setUid(const char* uid);
    const char* getUid() const { return m_uid; }
    void setVer(int v) { m_iVer = v; }
    int getVer() const { return m_iVer; }
    void setBodySize(int n) { m_iBodySize = n; }
    int getBodySize() const { return m_iBodySize; }
    void setChecksum(int c) { m_iChecksum = c; }
    int getChecksum() const { return m_iChecksum; }
    void setBodyFormat(int f) { m_iBodyFormat = f; }
    int getBodyFormat() const { return m_iBodyFormat; }

    int generateChecksumData(const void* body) const;
    bool checkChecksumData(const void* body) const;
    bool checkHeaderValidation() const;
    void unpack(const IBuffer* wire);
    // A view of the header's own bytes: it must go before the header does.
    std::unique_ptr<IBuffer> pack() const;
    void* getHeaderFixedBuf() { return m_fixed; }

private:
    char m_uid[4];
    int m_iVer;
    int m_iBodySize;
    int m_iChecksum;
    int m_iBodyFormat;
    mutable unsigned char m_fixed[SIZE];
};

// Checksum of a body: every byte read as a signed 8-bit value, summed with wrap-around.
int header_checksum(const void* body, int size);
