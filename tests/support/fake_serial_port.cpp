#include "support/fake_serial_port.h"
