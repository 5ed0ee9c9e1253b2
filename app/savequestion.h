#pragma once

#include <QString>

class QWidget;

// What the user answered to the question whether to save changes.
enum class SaveChoice { Save, Discard, Cancel };

// Asks "Änderungen an „NAME“ speichern?" with Speichern, Verwerfen and Abbrechen. Escape, closing the
// box and anything but the first two buttons count as Abbrechen, so that no answer loses work.
SaveChoice askToSaveChanges(QWidget *parent, const QString &documentName);
