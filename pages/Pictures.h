#pragma once

#include <QImage>
#include <QString>

namespace zav {

// Where the pictures of res/ are found: beside the program, or in the installed data folder.
QString picturePath(const QString& name);

// The picture, or a null image when it cannot be loaded (it is then simply not drawn).
QImage loadPicture(const QString& name);

} // namespace zav
