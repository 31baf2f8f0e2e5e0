#pragma once

#include <QApplication>
#include <QLocale>
#include <QLockFile>

#include <memory>

namespace zav {

// The application object: one running copy per user, the program's fonts, and the language of
// the system.
class ZavoraApp : public QApplication {
    Q_OBJECT
public:
    ZavoraApp(int& argc, char** argv);
    ~ZavoraApp() override;

    // False when another copy holds the lock; that copy is left alone and this one ends silently.
    // A lock left behind by a copy that crashed is taken over. Where no lock can be had (no private
    // folder, or something other than a regular file at the lock's name) this copy starts as the first.
    bool InitInstance();

    // Where the lock lives: the user's runtime folder, or where that is unusable a folder of this user's
    // own in the temporary folder; empty when neither is this user's alone.
    static QString lockPath();
    // lockPath with the two folders given: `runtimeDir` (may be empty) when it is a private folder of
    // this user, else "<tempDir>/zavora-<user id>", made private or checked to be; else empty.
    static QString lockPathIn(const QString& runtimeDir, const QString& tempDir);

    // The Windows language identifier of a locale (fr_CA -> 3084, zh_TW -> 1028).
    static int langIdForLocale(const QLocale& locale);
    static int systemLangId();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zav
