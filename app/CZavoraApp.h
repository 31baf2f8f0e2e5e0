#pragma once

#include <QApplication>
#include <QLocale>
#include <QLockFile>

#include <memory>

namespace zav {

// The application object: one running copy per user, the program's fonts, and the language of
// the system.
class CZavoraApp : public QApplication {
    Q_OBJECT
public:
    CZavoraApp(int& argc, char** argv);
    ~CZavoraApp() override;

    // False when another copy holds the lock; that copy is left alone and this one ends silently.
    // A lock left behind by a copy that crashed is taken over.
    bool InitInstance();

    // Where the lock lives: the user's runtime folder.
    static QString lockPath();

    // The Windows language identifier of a locale (fr_CA -> 3084, zh_TW -> 1028).
    static int langIdForLocale(const QLocale& locale);
    static int systemLangId();

private:
    std::unique_ptr<QLockFile> lock_;
};

} // namespace zav
