#pragma once
#include <netinet/in.h>

#include <atomic>

class IConnector {
public:
    virtual ~IConnector() = default;
    virtual int send(const char* data, int length, int flags) = 0;
};

// Owns the listening socket and the one accepted connection, and the single
// exit path of the process when the connection fails.
class Connector : public virtual IConnector {
public:
    static Connector* getInstance();

    void createSock();
    void sendStdoutMsgPortNumNListen();
    int accept();
    void sendStdoutMsgAccept();
    int receive(void* buf, int len, int flags);
    int send(const char* data, int len, int flags) override;
    void setConnectedStatus(bool connected) { m_bConnected.store(connected); }
    bool isConnected() const { return m_bConnected.load(); }
    [[noreturn]] void destroySock(int status);
    unsigned port() const { return ntohs(m_serverAddr.sin_port); }

private:
    Connector() = default;
    static Connector* m_spConnector;

    int m_iServerSock = -1;
    int m_iClientSock = -1;
    // Written by the reader thread, read by the main loop's tick.
    std::atomic<bool> m_bConnected { false };
    sockaddr_in m_serverAddr {};
    sockaddr_in m_clientAddr {};
};
