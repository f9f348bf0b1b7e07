#include "utils/socket_util.h"

#include <cstring>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The engine serves one unauthenticated local client that may rewrite files,
// so it listens on loopback only; the port is left to the system.
const uint32_t IP = INADDR_LOOPBACK;
const uint16_t PORT = 0;
} // namespace

int socket_util_create_server_socket(int* fd)
{
    *fd = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (*fd < 0)
        return -1;
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(IP);
    addr.sin_port = htons(PORT);
    if (bind(*fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0)
        return -1;
    int on = 1;
    if (setsockopt(*fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) < 0)
        return -1;
    if (listen(*fd, 1) < 0)
        return -1;
    return 0;
}

int socket_util_getsockname(int fd, sockaddr_in* addr)
{
    memset(addr, 0, sizeof *addr);
    socklen_t len = sizeof *addr;
    return getsockname(fd, reinterpret_cast<sockaddr*>(addr), &len) < 0 ? -1 : 0;
}

int socket_util_accept(int fd, sockaddr_in* addr)
{
    socklen_t len = sizeof *addr;
    return accept(fd, reinterpret_cast<sockaddr*>(addr), &len);
}

int socket_util_shutdown(int* fd)
{
    if (*fd >= 0) {
        shutdown(*fd, SHUT_RDWR);
        close(*fd);
        *fd = -1;
    }
    return 0;
}

int socket_util_recv(int fd, void* buf, int len) { return int(recv(fd, buf, len, 0)); }

// MSG_NOSIGNAL: a peer that went away must give an error result, not SIGPIPE.
int socket_util_send(int fd, const void* buf, int len) { return int(send(fd, buf, len, MSG_NOSIGNAL)); }
