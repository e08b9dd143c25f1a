#pragma once

#include <QString>

// "COMn", the name the program shows for serial port n.
QString ComPortName(int n);
