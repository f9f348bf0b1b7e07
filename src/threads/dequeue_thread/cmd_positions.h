#pragma once
#include "threads/dequeue_thread/cmd.h"

class CmdGetAllWidgetPositions : public virtual Cmd {
public:
    void doCmd() override;
};

class CmdGetPlaceHolderPositions : public virtual Cmd {
public:
    void doCmd() override;
};
