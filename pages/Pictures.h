#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>
#include <thread>

namespace zav {

// Where the pictures of res/ are found: beside the program, or in the installed data folder.
QString picturePath(const QString& name);

// The file drawn for `name` on this application's screens: name@2x.png where a screen has two or more
// device pixels per pixel and that file exists, else the plain one. Asked on the window's thread.
QString shownPicturePath(const QString& name);

// The picture, or a null image when it cannot be loaded (it is then simply not drawn). Each picture
// is decoded once and then shared; a picture being decoded on another thread is waited for.
QImage loadPicture(const QString& name);

// Decodes pictures on a thread of its own while the window is being built, so that its first paint
// finds them ready. `first` runs there before the named pictures. The destructor waits for the thread.
class PicturePreloader {
public:
    explicit PicturePreloader(const QStringList& names, std::function<void()> first = {});
    ~PicturePreloader();
    PicturePreloader(const PicturePreloader&) = delete;
    PicturePreloader& operator=(const PicturePreloader&) = delete;

private:
    std::thread thread_;
};

} // namespace zav
