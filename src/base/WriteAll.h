#pragma once
#include <QByteArray>

class QIODevice;

namespace base {

// Hands every byte to the device, however many writes that takes. False as soon as the device
// refuses one (its errorString() says why), so a short write never passes for a whole one.
bool writeAll(QIODevice &device, const QByteArray &bytes);

} // namespace base
