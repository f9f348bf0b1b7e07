#pragma once
#include <string>

#include "threads/dequeue_thread/cmd.h"

// Theme queries and edits on a theme file named by path; answered only for
// an existing window.
class CmdGetGroupNames : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;

private:
    std::string m_path;
};

class CmdGetStyleNames : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;

private:
    std::string m_path;
};

class CmdRemoveStyleName : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;

private:
    std::string m_path;
    std::string m_widgetType;
    std::string m_style;
    std::string m_itemStyle;
};

class CmdOverlayTheme : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;

private:
    std::string m_path;
};
