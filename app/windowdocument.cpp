#include "windowdocument.h"

#include "documentconversion.h"
#include "fieldvalues.h"
#include "mainform.h"
#include "solutionwordfield.h"
#include "ui_mainform.h"
#include "wordgrid.h"
#include "wordgridtable.h"

PuzzleDocument windowDocument(TMainForm &form) {
    WordGrid &table = *form.controls().StringGrid1;
    table.commitEdit();
    PuzzleDocument document = makeDocument(WordGridTable(table), form.settings(), form.model());
    document.keptExtensions = form.keptExtensions();
    return document;
}

bool showDocument(TMainForm &form, const PuzzleDocument &document) {
    form.controls().StringGrid1->setWordRows(document.rows);
    PuzzleSettings settings = document.settings;
    settings.clueFont = fontThroughDialog(form.FontDialog1.Font, settings.clueFont);
    settings.titleFont = fontThroughDialog(form.FontDialog2.Font, settings.titleFont);
    form.setSettings(settings);
    form.keptExtensions() = document.keptExtensions;
    const bool complete = applyDocumentToModel(document, form.model());
    // The solution word's cells belong to the new grid; a word stored without cells gets them now.
    form.solutionWord().setSolution(settings.solution);
    if (settings.showSolution)
        form.warnSolutionShown();
    form.repaintPuzzle();
    return complete;
}
