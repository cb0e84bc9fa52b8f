#pragma once
// The desktop's widget style, with the few pictures it reads from Qt's own
// resources (the menu bar's extension arrow, Fusion's group box frame) read by
// libpng instead. Qt's image reader would load every image format plugin (and
// with the JPEG one libjpeg) only to learn that a PNG is a PNG, and they would
// stay in memory for the whole session. What is drawn stays the same.

class QStyle;

namespace tonfang {

// That style around `base` (the desktop's style when null); owns `base`.
QStyle *newPluginFreeStyle(QStyle *base = nullptr);

// Makes it the application's style. Call before the first widget is made.
void installPluginFreeStyle();

} // namespace tonfang
