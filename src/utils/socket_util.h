#pragma once
#include <netinet/in.h>

int socket_util_create_server_socket(int* fd);
int socket_util_getsockname(int fd, sockaddr_in* addr);
int socket_util_accept(int fd, sockaddr_in* addr);
int socket_util_shutdown(int* fd);
int socket_util_recv(int fd, void* buf, int len);
int socket_util_send(int fd, const void* buf, int len);
