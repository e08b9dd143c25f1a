#include "base/com_port_name.h"

#include "base/number_format.h"

QString ComPortName(int n) {
    return QStringLiteral("COM") + numfmt::general(n, QLatin1Char('.'));
}
