#include "protocol/connection.h"

#include "protocol/reader_view.h"
#include "serial/current_port.h"
#include "serial/port_list.h"

ConnectionState g_connection;

void Disconnect() {
    ClosePort();
    RefreshPortList();
    g_connection = ConnectionState{};
    ShowVersion(kNoVersion);
}
