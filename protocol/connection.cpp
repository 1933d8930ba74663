#include "protocol/connection.h"

#include "app/main_window.h"
#include "serial/port_list.h"
#include "serial/current_port.h"
#include "ui/command_ids.h"
#include "ui/window_ops_glue.h"

ConnectionState g_connection;

void Disconnect() {
    ClosePort();
    RefreshPortList();
    g_connection = ConnectionState{};
    ControlSetText(g_main.window, kIdVersionField, "x.xx");
}
