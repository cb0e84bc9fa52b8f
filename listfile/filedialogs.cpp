#include "listfile/filedialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>

namespace tonfang {

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


SuffixedSaveDialog::SuffixedSaveDialog(QWidget *parent, const QString &suffix)
    : QFileDialog(parent), m_suffix(u'.' + suffix)
{
    setAcceptMode(QFileDialog::AcceptSave);
    setOption(QFileDialog::DontUseNativeDialog);
    setDefaultSuffix(suffix);
}

void SuffixedSaveDialog::accept()
{
    // The dialog's own accept reads the name field (selectFile() leaves a
    // focused field alone), adds a default suffix only to a name without a
    // dot, then asks about replacing; so the suffix goes into the field first.
    // Several quoted names and folders are left to the dialog.
    auto *field = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString name = selectedFiles().value(0);
    if (field && !field->text().contains(u'"') && !name.isEmpty() && !name.endsWith(m_suffix) &&
        !QFileInfo(name).isDir())
        field->setText(field->text() + m_suffix);
    QFileDialog::accept();
}

} // namespace tonfang
