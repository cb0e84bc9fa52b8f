#pragma once
// Asking for a file name with one of the program's own file dialogs.

#include <QString>

class QFileDialog;

// Shows the dialog modally; the chosen file name, or an empty text when the
// user cancelled.
QString askFileName(QFileDialog *dialog);
