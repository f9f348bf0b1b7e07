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
    : m_pHeader(new Header), m_pHeaderBuffer(new Buffer), m_pBodyBuffer(new AllocBuffer),
      m_pConnector(Connector::getInstance()), m_pQManager(QManager::getInstance())
{
    memset(m_pHeader->getHeaderFixedBuf(), 0, Header::SIZE);
    m_pHeaderBuffer->setSize(Header::SIZE);
    m_pHeaderBuffer->setBuffer(m_pHeader->getHeaderFixedBuf());
}

MsgReader::~MsgReader()
{
    delete m_pHeader;
    delete m_pHeaderBuffer;
    delete m_pBodyBuffer;
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
    if (!receiveExactly(m_pHeader->getHeaderFixedBuf(), Header::SIZE)) {
        int err = errno;
        diag("connection closed or failed while reading a frame header; exiting");
        m_pConnector->destroySock(err);
    }
    m_pHeader->unpack(m_pHeaderBuffer);
    if (!m_pHeader->checkHeaderValidation()) {
        int err = errno;
        diag("frame rejected: header is not uid VORA, version 1, body format 0; exiting");
        m_pConnector->destroySock(err);
    }
    int size = m_pHeader->getBodySize();
    if (size < 0 || size > MAX_BODY_SIZE) {
        diag("frame rejected: body size %d out of range; exiting", size);
        m_pConnector->destroySock(EMSGSIZE);
    }
    return 0;
}

int MsgReader::readBody()
{
    int size = m_pHeader->getBodySize();
    auto* block = static_cast<char*>(m_pBodyBuffer->allocNewBuffer(size + 1));
    if (!block) {
        diag("cannot allocate %d bytes for a frame body; exiting", size + 1);
        m_pConnector->destroySock(ENOMEM);
    }
    memset(block, 0, size_t(size) + 1);
    if (!receiveExactly(block, size)) {
        int err = errno;
        free(block);
        diag("connection closed or failed inside a frame body; exiting");
        m_pConnector->destroySock(err);
    }
    if (!m_pHeader->checkChecksumData(block)) {
        int err = errno;
        free(block);
        diag("frame rejected: body checksum mismatch; exiting");
        m_pConnector->destroySock(err);
    }
    m_pQManager->enqueue(block);
    return 0;
}
