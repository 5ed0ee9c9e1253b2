#include "windowmemory.h"

#include "mainform.h"
#include "ui_mainform.h"
#include "wordgrid.h"

#include <QSettings>
#include <QSplitter>

namespace {

const QString geometryKey = QStringLiteral("window/geometry");
const QString dividerKey = QStringLiteral("window/divider");
const QString firstColumnKey = QStringLiteral("wordTable/firstColumnShare");
const QString recentKey = QStringLiteral("recentFiles");

} // namespace

WindowMemory::WindowMemory()
    : WindowMemory(std::make_unique<QSettings>(QStringLiteral("wabrix"), QStringLiteral("wabrix"))) {}

WindowMemory::WindowMemory(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

WindowMemory::~WindowMemory() = default;

void WindowMemory::restore(TMainForm &form) {
    Ui::TMainForm &ui = form.controls();
    const QByteArray geometry = settings_->value(geometryKey).toByteArray();
    if (!geometry.isEmpty())
        form.placeAt(geometry);
    const QByteArray divider = settings_->value(dividerKey).toByteArray();
    if (!divider.isEmpty())
        ui.Splitter1->restoreState(divider);
    bool ok = false;
    const double share = settings_->value(firstColumnKey).toDouble(&ok);
    if (ok && share > 0 && share < 1)
        ui.StringGrid1->setFirstColumnShare(share);
    form.setRecentFiles(settings_->value(recentKey).toStringList());
}

void WindowMemory::save(TMainForm &form) {
    Ui::TMainForm &ui = form.controls();
    settings_->setValue(geometryKey, form.saveGeometry());
    settings_->setValue(dividerKey, ui.Splitter1->saveState());
    settings_->setValue(firstColumnKey, ui.StringGrid1->firstColumnShare());
    saveRecentFiles(form.recentFiles());
}

void WindowMemory::saveRecentFiles(const QStringList &files) {
    settings_->setValue(recentKey, files);
    settings_->sync();
}
