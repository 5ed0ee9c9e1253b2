#pragma once

#include <QObject>
#include <QString>

class QUndoStack;

// Which document the window holds and whether it changed since it was last opened or saved. The
// word table counts as changed while its undo stack is away from the step it had then (undoing every
// edit makes it unchanged again); the title, a setting or the puzzle count as changed from the first
// change on.
class DocumentState : public QObject {
    Q_OBJECT

public:
    explicit DocumentState(QUndoStack &tableSteps, QObject *parent = nullptr);

    // The document's file; empty for a document never saved.
    const QString &fileName() const { return fileName_; }
    // The name the user knows the document by: its file's name without the folder, else "Unbenannt".
    QString displayName() const;
    bool isModified() const;

    // The title, a setting or the puzzle changed.
    void markChanged();
    // The window now holds exactly what fileName holds, because it was saved there or opened from
    // there; an empty name makes a new, unsaved document.
    void setSaved(const QString &fileName);

signals:
    // The name or the changed flag may have changed.
    void stateChanged();

private:
    QUndoStack &tableSteps_;
    QString fileName_;
    bool changed_ = false;
};
