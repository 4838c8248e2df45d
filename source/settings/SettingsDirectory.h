#pragma once

#include <QString>

// The folder that holds the application ini and the project's working copy,
// shared by the program window and the remote-control server.

// Name of the application ini the program opens when "-i" names no other.
inline const QString kDefaultIniName = QStringLiteral("Quorvin.ini");

// The absolute home directory followed by "/.quorvin/", created with its
// parents whenever it is asked for.
QString settingsDirectoryOf(const QString& home);

// settingsDirectoryOf(home), and on a first start (no "Quorvin.ini" there)
// the older ini "<appData>/Ostvalde/Quorvin.ini" copied in, when appData is
// not empty and names an existing folder.
QString preparedSettingsDirectory(const QString& home, const QString& appData);

// The same for this user: the home directory and the environment's APPDATA.
QString settingsDirectory();
