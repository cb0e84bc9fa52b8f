#pragma once
// Asking for a file name with one of the program's own file dialogs.

#include <QFileDialog>
#include <QString>

namespace tonfang {

// Shows the dialog modally; the chosen file name, or an empty text when the
// user cancelled.
QString askFileName(QFileDialog *dialog);

// A save dialog (not the desktop's own) whose names always end in `suffix`,
// also names with dots in them, which the default suffix leaves alone. The
// suffix is added before the dialog asks whether to replace a file, so that
// the question names the file that is saved.
class SuffixedSaveDialog : public QFileDialog {
public:
    SuffixedSaveDialog(QWidget *parent, const QString &suffix);
    void accept() override;

private:
    QString m_suffix;
};

} // namespace tonfang
