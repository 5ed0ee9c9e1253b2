#include "filedialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

// The extension of a filter's first pattern ("CSV (*.csv)" gives "csv"); empty for "*".
QString filterSuffix(const QString &filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

bool FileDialog::Execute(QWidget *parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(kind_ == Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter_);
    dialog.setDefaultSuffix(defaultSuffix_);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmOverwrite_);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        const QString suffix = filterSuffix(filter);
        if (!suffix.isEmpty())
            dialog.setDefaultSuffix(suffix);
    });
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    return true;
}
