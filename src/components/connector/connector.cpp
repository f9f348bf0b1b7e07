#include "components/connector/connector.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "utils/log_util.h"
#include "utils/socket_util.h"

Connector* Connector::m_spConnector = nullptr;

Connector* Connector::getInstance()
{
    if (!m_spConnector) {
        m_spConnector = new Connector;
        m_spConnector->createSock();
    }
    return m_spConnector;
}

void Connector::createSock()
{
    if (socket_util_create_server_socket(&m_iServerSock) < 0 || socket_util_getsockname(m_iServerSock, &m_serverAddr) < 0) {
        int err = errno;
        diag("cannot listen on a local port: errno %d", err);
        destroySock(-err);
    }
}

void Connector::sendStdoutMsgPortNumNListen()
{
    Logger::getInstance().printCmdToStdOut("[%s:%u]\n", "VORA-CMD-PORT", port());
    Logger::getInstance().printCmdToStdOut("[%s]\n", "VORA-CMD-LISTEN");
}

int Connector::accept()
{
    m_iClientSock = socket_util_accept(m_iServerSock, &m_clientAddr);
    if (m_iClientSock < 0) {
        int err = errno;
        diag("accept failed: errno %d", err);
        destroySock(-err);
    }
    m_bConnected = true;
    return 0;
}

void Connector::sendStdoutMsgAccept()
{
    Logger::getInstance().printCmdToStdOut("[%s]\n", "VORA-CMD-ACCEPT");
}

int Connector::receive(void* buf, int len, int)
{
    int n;
    do {
        n = socket_util_recv(m_iClientSock, buf, len);
    } while (n < 0 && errno == EINTR);
    return n;
}

int Connector::send(const char* data, int len, int)
{
    int n;
    do {
        n = socket_util_send(m_iClientSock, data, len);
    } while (n < 0 && errno == EINTR);
    return n;
}

void Connector::destroySock(int status)
{
    socket_util_shutdown(&m_iServerSock);
    socket_util_shutdown(&m_iClientSock);
    m_bConnected = false;
    // The main thread may be inside the toolkit right now; running static
    // destructors and atexit handlers under it could crash, so leave at once.
    fflush(stdout);
    fflush(stderr);
    _exit(status);
}
