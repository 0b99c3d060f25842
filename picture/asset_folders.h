// Where the program's pictures are looked for, shared by the program and
// the tools that read its map without windows.
#pragma once

#include <QString>
#include <QStringList>

// The folders a picture is looked for in, in order: the current directory,
// the program's folder, its assets/ subfolder, ../share/wendo beside it (an
// installation moved to another prefix keeps its layout), the installed
// data folder.
QStringList AssetFolders();

// Full path of the first existing file of that name in AssetFolders(), or an
// empty string.
QString FindAsset(const QString& fileName);
