#pragma once
#include "components/connector/alloc_buffer.h"
#include "components/connector/connector.h"
#include "components/connector/header.h"
#include "components/manager/q_manager.h"
#include "components/messages/frame_limits.h"

// Turns the byte stream from the IDE into queued request bodies. Any framing
// or transport failure ends the process through Connector::destroySock.
class MsgReader {
public:
    // Bodies above this size are refused: a hostile size must not make the
    // engine allocate or wait for gigabytes. It is the frame limit of both
    // directions, which the largest paint the engine sends just fits.
    static const int MAX_BODY_SIZE = MAX_FRAME_BODY;

    static MsgReader* getInstance();
    MsgReader();
    ~MsgReader();

    int acceptClient();
    bool isConnected() const { return m_pConnector->isConnected(); }
    int read();
    int readHeader();
    int readBody();

private:
    static MsgReader* m_spMsgReader;
    bool receiveExactly(void* into, int size);

    Header m_header;
    Buffer m_headerBuffer; // a view of the header's fixed bytes
    AllocBuffer m_bodyBuffer;
    Connector* m_pConnector;
    QManager* m_pQManager;
};
