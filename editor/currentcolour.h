#pragma once
// Adding the colour the main window shows to its colour list.

class Tprog;

namespace tonfang {

// Appends the colour the displays show to the colour list: the label from the
// RGB fields as they stand, the colour from the TColor field. Nothing is
// appended while the TColor field does not hold an integer. Used by the
// eyedropper (on move and release) and by a double-click on the swatch.
void addCurrentColourToList(Tprog &prog);

} // namespace tonfang
