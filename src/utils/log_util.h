#pragma once
#include <cstdio>

// Console output of the engine. Standard output is the pipe the IDE reads,
// so every call flushes before it returns.
class Logger {
public:
    static const Logger& getInstance();
    ~Logger();

    void printMsgToStdOut(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
        __attribute__((format(printf, 6, 7)));
    void printErrToStdOut(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
        __attribute__((format(printf, 6, 7)));
    void printCmdToStdOut(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
    void printMsgToFile(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
        __attribute__((format(printf, 6, 7)));
    void printErrToFile(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
        __attribute__((format(printf, 6, 7)));
    void printCmdToFile(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));

private:
    Logger() = default;
};

// Optional log files; nothing in the engine opens them.
extern FILE* spFileLogOut;
extern FILE* spFileLogError;

#define LOG_TRACE(...) Logger::getInstance().printMsgToStdOut("TRACE", __FILE__, __LINE__, __func__, __VA_ARGS__)

// Diagnostics for rejected input: one line on standard error, naming the
// request being executed. The tick sets the context around each command.
void diag_set_request(int id, const char* command);
void diag_clear_request();
void diag(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
