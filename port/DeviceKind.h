// What kind of device stands behind a port's path, for the choices open()
// makes and for the reason a failure gives.
#pragma once

#include <QString>

// A pseudo-terminal slave (/dev/pts/N, also through a link): it keeps neither
// a parity bit nor fewer than 8 data bits, and refuses a change of only those.
bool isPseudoTerminal(const QString& device);

// Whether `device` is a terminal at all (a serial device or a pty), not a
// file, a directory or another kind of device.
bool isTerminalDevice(const QString& device);

// Qt's serial port locks "<lock dir>/LCK..<path below /dev, '/' as '_'>"; a
// name past the file-name limit cannot be made, whatever holds the device.
bool lockFileNameTooLong(const QString& device);
