#pragma once

#include <QStringList>

// Entry points of the subcommands, one file each.
int runGenerate(const QStringList &arguments);
int runInfo(const QStringList &arguments);
int runNew(const QStringList &arguments);
int runPrint(const QStringList &arguments);
int runRender(const QStringList &arguments);
int runThumbnail(const QStringList &arguments);
