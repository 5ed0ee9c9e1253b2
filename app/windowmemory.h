#pragma once

#include <QStringList>

#include <memory>

class QSettings;
class TMainForm;

// What the window keeps from one run of the program to the next, in the user's settings: its size and
// position, the divider between word table and puzzle, the share of the table's first column, and
// the documents opened or saved last.
class WindowMemory {
public:
    // Keeps everything in the program's own user settings.
    WindowMemory();
    // Keeps everything in settings.
    explicit WindowMemory(std::unique_ptr<QSettings> settings);
    ~WindowMemory();
    WindowMemory(const WindowMemory &) = delete;
    WindowMemory &operator=(const WindowMemory &) = delete;

    // Gives the window what was kept; what was never kept or cannot be read leaves the window's own
    // defaults.
    void restore(TMainForm &form);
    // Keeps the window's size, position, divider, columns and recent documents.
    void save(TMainForm &form);
    void saveRecentFiles(const QStringList &files);

private:
    std::unique_ptr<QSettings> settings_;
};
