#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "components/connector/connector.h"
#include "components/msg_writer/msg_writer.h"

// Collects what the engine sends; optionally accepts only a few bytes per call
// to exercise partial sends, or fails every call like a closed peer.
struct FakeConnection : IConnector {
    std::string bytes;
    int maxPerCall = 1 << 30;
    bool broken = false;
    int calls = 0;

    int send(const char* data, int length, int) override
    {
        ++calls;
        if (broken)
            return -1;
        int n = length < maxPerCall ? length : maxPerCall;
        bytes.append(data, size_t(n));
        return n;
    }
};

struct SentFrame {
    int32_t fields[5]; // uid bytes as int, ver, size, checksum, format
    std::string uid;
    std::string body;
};

// Splits the collected bytes into frames; stops at an incomplete one.
inline std::vector<SentFrame> split_frames(const std::string& bytes)
{
    std::vector<SentFrame> out;
    size_t at = 0;
    while (at + 20 <= bytes.size()) {
        SentFrame f;
        memcpy(f.fields, bytes.data() + at, 20);
        f.uid = bytes.substr(at, 4);
        size_t size = size_t(f.fields[2]);
        if (at + 20 + size > bytes.size())
            break;
        f.body = bytes.substr(at + 20, size);
        out.push_back(f);
        at += 20 + size;
    }
    return out;
}

// Installs a writer on a fake connection for the lifetime of the object.
struct CapturedWriter {
    FakeConnection connection;
    MsgWriter writer { &connection };
    MsgWriter* previous;
    CapturedWriter() : previous(MsgWriter::replaceInstance(&writer)) {}
    ~CapturedWriter() { MsgWriter::replaceInstance(previous); }
    std::vector<SentFrame> frames() const { return split_frames(connection.bytes); }
};
