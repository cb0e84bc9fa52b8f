#include "picking/filedialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>

QString askFileName(QFileDialog *dialog)
{
    const int answer = dialog->exec();
    // The name field's completion list can outlive the dialog that Return
    // closed, left open over the main window until the next click.
    for (QCompleter *completer : dialog->findChildren<QCompleter *>())
        completer->popup()->hide();
    if (answer != QDialog::Accepted)
        return {};
    return dialog->selectedFiles().value(0);
}
