#include "platform/port.h"

struct a_port {
    a_port_bits bits;
};

namespace {
a_port* current_port = nullptr;
}

a_port* Port_New(const a_port_bits& bits) {
    auto* port = new a_port;
    port->bits = bits;
    return port;
}

void Port_Dispose(a_port*& port) {
    if (port == current_port) current_port = nullptr;
    delete port;
    port = nullptr;
}

void Port_SetBits(a_port* port, const a_port_bits& bits) {
    if (port) port->bits = bits;
}

const a_port_bits& Port_Bits(const a_port* port) { return port->bits; }

void Port_Set(a_port* port) { current_port = port; }

a_port* Port_Get() { return current_port; }
