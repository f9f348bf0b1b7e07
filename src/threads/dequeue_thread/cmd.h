#pragma once
#include <json/json.h>

#include <memory>
#include <string>

#include "components/connector/buffer.h"

// Commands are held and deleted through this interface.
class ICmd {
public:
    virtual ~ICmd() = default;
    virtual void setId(int id) = 0;
    virtual int getId() const = 0;
    virtual std::unique_ptr<IBuffer> serialize() const = 0;
    virtual void deserialize(Json::Value& value) = 0;
    virtual void deserialize(std::string data) = 0;
    virtual void deserialize(const IBuffer* buffer) = 0;
    virtual void doCmd() = 0;
};

class Cmd : public virtual ICmd {
public:
    void setId(int id) override { m_iId = id; }
    int getId() const override { return m_iId; }
    std::unique_ptr<IBuffer> serialize() const override { return nullptr; }
    void deserialize(Json::Value&) override {}
    void deserialize(std::string) override {}
    void deserialize(const IBuffer*) override {}

private:
    int m_iId = 0;
};

// One row of the command table: the "command-name" and how to make its command.
struct CmdEntry {
    const char* name;
    std::unique_ptr<ICmd> (*create)();
};

template <class T>
std::unique_ptr<ICmd> cmd_factory()
{
    return std::make_unique<T>();
}

// The command table, in lookup order; names compare whole and case-sensitive.
extern const CmdEntry g_cmd_table[];
extern const int g_cmd_table_size;
