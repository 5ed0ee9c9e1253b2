#include "picturesavedialog.h"

#include <QFileDialog>

namespace {

struct FilterFormat {
    QString filter;
    PictureFormat format;
    QString suffix;
    PrintPages pages = PrintPages::Puzzle;
};

const QList<FilterFormat> &filterFormats() {
    static const QList<FilterFormat> table{
        {QStringLiteral("Windows Bitmap (*.bmp)"), PictureFormat::Bmp, QStringLiteral("bmp")},
        {QStringLiteral("PNG-Bild (*.png)"), PictureFormat::Png, QStringLiteral("png")},
        {QStringLiteral("SVG-Grafik (*.svg)"), PictureFormat::Svg, QStringLiteral("svg")},
        {QStringLiteral("PDF-Seite wie gedruckt (*.pdf)"), PictureFormat::Pdf, QStringLiteral("pdf")},
        {QStringLiteral("PDF: Rätsel und Lösung, zwei Seiten (*.pdf)"), PictureFormat::Pdf,
         QStringLiteral("pdf"), PrintPages::Both},
    };
    return table;
}

QString suffixOfFilter(const QString &filter) {
    for (const FilterFormat &entry : filterFormats())
        if (entry.filter == filter)
            return entry.suffix;
    return filterFormats().constFirst().suffix;
}

} // namespace

const QStringList &PictureSaveDialog::filters() {
    static const QStringList names = [] {
        QStringList list;
        for (const FilterFormat &entry : filterFormats())
            list << entry.filter;
        return list;
    }();
    return names;
}

PictureFormat PictureSaveDialog::formatOfFilter(const QString &filter) {
    for (const FilterFormat &entry : filterFormats())
        if (entry.filter == filter)
            return entry.format;
    return PictureFormat::Bmp;
}

void PictureSaveDialog::configure(QFileDialog &dialog) const {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters());
    dialog.selectNameFilter(filters().constFirst());
    dialog.setDefaultSuffix(suffixOfFilter(filters().constFirst()));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(suffixOfFilter(filter)); });
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
}

PrintPages PictureSaveDialog::pagesOfFilter(const QString &filter) {
    for (const FilterFormat &entry : filterFormats())
        if (entry.filter == filter)
            return entry.pages;
    return PrintPages::Puzzle;
}

bool PictureSaveDialog::Execute(QWidget *parent) {
    QFileDialog dialog(parent);
    configure(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    const QString filter = dialog.selectedNameFilter();
    Format = pictureFormatOfFile(FileName).value_or(formatOfFilter(filter));
    Pages = Format == PictureFormat::Pdf && formatOfFilter(filter) == PictureFormat::Pdf
                ? pagesOfFilter(filter)
                : PrintPages::Puzzle;
    return true;
}
