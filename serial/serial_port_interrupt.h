#pragma once

// On Linux: Ctrl+C (and a hang-up or termination) puts every open port's line
// settings back and closes it before the program ends
// (serial/posix/serial_port_glue_posix.cpp).
void InstallSerialInterruptHandler();

// From now on an interruption is only recorded: the program finishes the exchange in hand, gives its
// ports back itself and asks SerialInterruptSignal() before it starts another.
void DeferSerialInterrupts();

// The signal that interrupted the program (SIGINT, SIGTERM, SIGHUP) while deferred, 0 while none has.
int SerialInterruptSignal();
