#include "documentstate.h"

#include <QFileInfo>
#include <QUndoStack>

DocumentState::DocumentState(QUndoStack &tableSteps, QObject *parent)
    : QObject(parent), tableSteps_(tableSteps) {
    connect(&tableSteps_, &QUndoStack::cleanChanged, this, &DocumentState::stateChanged);
}

QString DocumentState::displayName() const {
    return fileName_.isEmpty() ? QStringLiteral("Unbenannt") : QFileInfo(fileName_).fileName();
}

bool DocumentState::isModified() const {
    return changed_ || !tableSteps_.isClean();
}

void DocumentState::markChanged() {
    if (changed_)
        return;
    changed_ = true;
    emit stateChanged();
}

void DocumentState::setSaved(const QString &fileName) {
    fileName_ = fileName;
    changed_ = false;
    tableSteps_.setClean();
    emit stateChanged();
}
