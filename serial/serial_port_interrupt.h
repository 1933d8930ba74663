#pragma once

// On Linux: Ctrl+C (and a hang-up or termination) puts every open port's line
// settings back and closes it before the program ends
// (serial/posix/serial_port_glue_posix.cpp).
void InstallSerialInterruptHandler();
