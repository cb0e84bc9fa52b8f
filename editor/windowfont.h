#pragma once
// The one font of every window: Tahoma 8 pt where it is installed; elsewhere
// the desktop's own sans serif at the same pixel height, so that the fixed
// layouts keep their proportions.

#include <QFont>

namespace tonfang {

QFont windowFont();

} // namespace tonfang
