#include "filedialog.h"

#include <QFileDialog>

bool FileDialog::Execute(QWidget *parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(kind_ == Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter_);
    dialog.setDefaultSuffix(defaultSuffix_);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    return true;
}
