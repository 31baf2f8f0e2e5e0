#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zav {

// Starts a program without waiting for it; false when it could not be started.
using ProgramStarter = std::function<bool(const QString& program)>;

// The on-screen keyboards tried outside Windows, in order of preference.
QStringList onScreenKeyboardCandidates();

// The path of the first candidate found in `searchPaths` (the PATH when it is empty), or an empty
// string when none is installed.
QString findOnScreenKeyboard(const QStringList& searchPaths = {});

// Starts the first candidate found in `searchPaths` with `start`; false, and nothing started,
// when none is found.
bool startOnScreenKeyboard(const QStringList& searchPaths, const ProgramStarter& start);

// Starts the desktop's on-screen keyboard; false when there is none or it would not start.
bool startOnScreenKeyboard();

} // namespace zav
