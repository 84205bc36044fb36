#pragma once
// Pieces of the test servers on 127.0.0.1.
#include <QByteArray>

// A socket listening on 127.0.0.1 at a port of the system's choosing, written to port.
// Throws when none can be had.
int ListenOnLoopback(int& port);

// Sends every byte; false when the peer went away.
bool SendAll(int fd, const QByteArray& bytes);
