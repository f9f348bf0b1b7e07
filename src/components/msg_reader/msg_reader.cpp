#include "components/msg_reader/msg_reader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "utils/log_util.h"

MsgReader* MsgReader::m_spMsgReader = nullptr;

MsgReader* MsgReader::getInstance()
{
    if (!m_spMsgReader)
        m_spMsgReader = new MsgReader;
    return m_spMsgReader;
}

MsgReader::MsgReader()
    : m_pConnector(Connector::getInstance()), m_pQManager(QManager::getInstance())
{
    m_headerBuffer.setSize(Header::SIZE);
    m_headerBuffer.setBuffer(m_header.getHeaderFixedBuf());
}

MsgReader::~MsgReader()
{
    m_pConnector->destroySock(-1);
}

int MsgReader::acceptClient()
{
    m_pConnector->sendStdoutMsgPortNumNListen();
    if (m_pConnector->accept() < 0)
        return -1;
    m_pConnector->sendStdoutMsgAccept();
    return 0;
}

int MsgReader::read()
{
    if (readHeader() < 0)
        return -1;
    return readBody();
}

// Completes short reads; 0 (peer closed) or an error ends the process, so no
// partially received bytes are ever acted on.
bool MsgReader::receiveExactly(void* into, int size)
{
    auto* at = static_cast<char*>(into);
    for (int got = 0; got < size;) {
        int n = m_pConnector->receive(at + got, size - got, 0);
        if (n < 1)
            return false;
        got += n;
    }
    return true;
}

int MsgReader::readHeader()
{
    if (!receiveExactly(m_header.getHeaderFixedBuf(), Header::SIZE)) {
        int err = errno;
        diag("connection closed or failed while reading a frame header; exiting");
        m_pConnector->destroySock(err);
    }
    m_header.unpack(&m_headerBuffer);
    if (!m_header.checkHeaderValidation()) {
        int err = errno;
        diag("frame rejected: header is not uid VORA, version 1, body format 0; exiting");
        m_pConnector->destroySock(err);
    }
    int size = m_header.getBodySize();
    if (size < 0 || size > MAX_BODY_SIZE) {
        diag("frame rejected: body size %d out of range; exiting", size);
        m_pConnector->destroySock(EMSGSIZE);
    }
    return 0;
}

int MsgReader::readBody()
{
    int size = m_header.getBodySize();
    // The body buffer owns the block until the queue takes it; a failure
    // below ends the process.
    auto* block = static_cast<char*>(m_bodyBuffer.allocNewBuffer(size + 1));
    if (!block) {
        diag("cannot allocate %d bytes for a frame body; exiting", size + 1);
        m_pConnector->destroySock(ENOMEM);
    }
    memset(block, 0, size_t(size) + 1);
    if (!receiveExactly(block, size)) {
        int err = errno;
        diag("connection closed or failed inside a frame body; exiting");
        m_pConnector->destroySock(err);
    }
    if (!m_header.checkChecksumData(block)) {
        int err = errno;
        diag("frame rejected: body checksum mismatch; exiting");
        m_pConnector->destroySock(err);
    }
    m_pQManager->enqueue(m_bodyBuffer.take());
    return 0;
}
