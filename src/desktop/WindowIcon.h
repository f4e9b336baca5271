#pragma once

#include <QIcon>
#include <QImage>

namespace servo {

// The simulator's icon, a small arm on its base reaching for a target, painted at any size.
QImage paintWindowIcon(int size);
QIcon windowIcon();

} // namespace servo
