#pragma once

#include <QString>

class QWidget;

// An open or save dialog as a component of the window: it keeps its filter and default suffix, and
// remembers the last file name chosen with it, which it offers again the next time.
class FileDialog {
public:
    enum Kind { Open, Save };

    // filter as Qt writes it ("Wabrixrätsel (*.wbx)", several separated by ";;"), defaultSuffix without
    // the dot ("wbx"). A save dialog asks before replacing a file only when confirmOverwrite is set.
    FileDialog(Kind kind, QString filter, QString defaultSuffix, bool confirmOverwrite = false)
        : kind_(kind), filter_(std::move(filter)), defaultSuffix_(std::move(defaultSuffix)),
          confirmOverwrite_(confirmOverwrite) {}

    // Shows the dialog. A confirmed choice goes into FileName and gives true. An open dialog does not
    // insist that the file exists. A name typed without an extension gets the one of the filter chosen
    // (the default suffix for the first).
    bool Execute(QWidget *parent);

    Kind kind() const { return kind_; }
    const QString &filter() const { return filter_; }
    const QString &defaultSuffix() const { return defaultSuffix_; }

    QString FileName;

private:
    Kind kind_;
    QString filter_;
    QString defaultSuffix_;
    bool confirmOverwrite_;
};
