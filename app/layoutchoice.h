#pragma once

#include "layoutsettings.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSpinBox;

// "Anordnung:" and "Rahmen:" on the settings page: how "Erzeuge Rätsel" lays the next puzzle out.
// "wie bisher (1001 Versuche)" or "kompakt"; for "kompakt" the frame: "Seite" (the printable area at
// the current printer, paper and settings) or "Felder:" with columns × rows. The frame is only open
// to changes while "kompakt" is chosen.
class LayoutChoice : public QWidget {
    Q_OBJECT

public:
    explicit LayoutChoice(QWidget *parent = nullptr);

    LayoutSettings layout() const;
    // Shows layout (cell counts brought into 1 to 100) without raising chosen.
    void setLayout(const LayoutSettings &layout);

signals:
    // The user changed the choice.
    void chosen(const LayoutSettings &layout);

private:
    void showFrameState();
    void userChanged();

    QComboBox *arrangement_;
    QLabel *frameLabel_;
    QComboBox *frame_;
    QSpinBox *columns_;
    QLabel *times_;
    QSpinBox *rows_;
    bool setting_ = false;
};
