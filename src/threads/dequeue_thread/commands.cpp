#include "threads/dequeue_thread/cmd.h"
#include "threads/dequeue_thread/cmd_positions.h"
#include "threads/dequeue_thread/cmd_render.h"
#include "threads/dequeue_thread/cmd_theme.h"
#include "threads/dequeue_thread/cmd_window.h"

const CmdEntry g_cmd_table[] = {
    { "CMD_CREATE", cmd_factory<CmdCreate> },
    { "CMD_DESTROY", cmd_factory<CmdDestroy> },
    { "CMD_RENDER", cmd_factory<CmdRender> },
    { "CMD_GET_ALL_WIDGET_POSITIONS", cmd_factory<CmdGetAllWidgetPositions> },
    { "CMD_GET_PLACEHOLDER_POSITIONS", cmd_factory<CmdGetPlaceHolderPositions> },
    { "CMD_GET_GROUP_NAMES", cmd_factory<CmdGetGroupNames> },
    { "CMD_GET_STYLE_NAMES", cmd_factory<CmdGetStyleNames> },
    { "CMD_REMOVE_STYLE_NAME", cmd_factory<CmdRemoveStyleName> },
    { "CMD_OVERLAY_THEME", cmd_factory<CmdOverlayTheme> },
};

const int g_cmd_table_size = int(sizeof g_cmd_table / sizeof g_cmd_table[0]);
