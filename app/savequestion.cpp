#include "savequestion.h"

#include <QMessageBox>
#include <QPushButton>

SaveChoice askToSaveChanges(QWidget *parent, const QString &documentName) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Wabrixrätsel"),
                    QStringLiteral("Änderungen an „%1“ speichern?").arg(documentName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setInformativeText(QStringLiteral("Ohne Speichern gehen die Änderungen verloren."));
    box.button(QMessageBox::Save)->setText(QStringLiteral("Speichern"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Verwerfen"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const QAbstractButton *clicked = box.clickedButton();
    if (clicked == box.button(QMessageBox::Save))
        return SaveChoice::Save;
    if (clicked == box.button(QMessageBox::Discard))
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}
