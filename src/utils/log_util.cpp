#include "utils/log_util.h"

#include <cstdarg>
#include <string>

FILE* spFileLogOut = nullptr;
FILE* spFileLogError = nullptr;

namespace {

void write_prefixed(FILE* stream, const char* level, const char* file, int line, const char* func,
                    const char* fmt, va_list ap)
{
    if (!stream)
        return;
    fprintf(stream, "[%s] [%s:%d:%s()] \t", level, file, line, func);
    vfprintf(stream, fmt, ap);
    fputc('\n', stream);
    fflush(stream);
}

void write_plain(FILE* stream, const char* fmt, va_list ap)
{
    if (!stream)
        return;
    vfprintf(stream, fmt, ap);
    fputc('\n', stream);
    fflush(stream);
}

thread_local int g_diag_id = 0;
thread_local std::string g_diag_command;
// Per thread: the reader thread never runs inside a request.
thread_local bool g_diag_active = false;

} // namespace

const Logger& Logger::getInstance()
{
    static Logger s_logger;
    return s_logger;
}

Logger::~Logger()
{
    if (spFileLogOut)
        fclose(spFileLogOut);
    spFileLogOut = nullptr;
    spFileLogError = nullptr;
}

#define FORWARD(call)      \
    va_list ap;            \
    va_start(ap, fmt);     \
    call;                  \
    va_end(ap)

void Logger::printMsgToStdOut(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
{
    FORWARD(write_prefixed(stdout, level, file, line, func, fmt, ap));
}

void Logger::printErrToStdOut(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
{
    FORWARD(write_prefixed(stderr, level, file, line, func, fmt, ap));
}

void Logger::printCmdToStdOut(const char* fmt, ...) const
{
    FORWARD(write_plain(stdout, fmt, ap));
}

void Logger::printMsgToFile(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
{
    FORWARD(write_prefixed(spFileLogOut, level, file, line, func, fmt, ap));
}

void Logger::printErrToFile(const char* level, const char* file, int line, const char* func, const char* fmt, ...) const
{
    FORWARD(write_prefixed(spFileLogError, level, file, line, func, fmt, ap));
}

void Logger::printCmdToFile(const char* fmt, ...) const
{
    FORWARD(write_plain(spFileLogOut, fmt, ap));
}

void diag_set_request(int id, const char* command)
{
    g_diag_id = id;
    g_diag_command = command ? command : "";
    g_diag_active = true;
}

void diag_clear_request()
{
    g_diag_active = false;
}

void diag(const char* fmt, ...)
{
    std::string line = "render-engine: ";
    if (g_diag_active)
        line += "request " + std::to_string(g_diag_id) + " " + g_diag_command + ": ";
    va_list ap;
    va_start(ap, fmt);
    char buf[1024];
    vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    line += buf;
    line += '\n';
    fputs(line.c_str(), stderr);
    fflush(stderr);
}
