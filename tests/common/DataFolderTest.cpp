#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "common/DataFolder.h"

namespace {

// Sets an environment variable for one scope (unset when value is null).
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const QString& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, QFile::encodeName(value));
        }
    }
    ~ScopedEnv() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

TEST(DataFolder, BuildFolderKeepsTheBooksAnInstalledProgramUsesTheUsersFolder) {
    QTemporaryDir dir;
    const QString root = dir.path() + u'/';
    const QString build = root + QStringLiteral("build");
    const QString installedBin = root + QStringLiteral("usr/bin");
    ASSERT_TRUE(QDir().mkpath(build));
    ASSERT_TRUE(QDir().mkpath(installedBin));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("usr/share/ombrel")));
    const QString user = root + QStringLiteral("home/data/Ombrel/");
    const QString own = root + QStringLiteral("own/books/");
    const QString appName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Ombrel"));
    const ScopedEnv xdg("XDG_DATA_HOME", root + QStringLiteral("home/data"));

    const struct {
        QString program;
        QString overrideFolder;
        QString expected;
    } cases[] = {
        {build, QString(), build + u'/'},
        // Installed: root may write to usr/bin, yet the books belong to the user.
        {installedBin, QString(), user},
        {root + QStringLiteral("gone"), QString(), user},
        {build, own, own},
        {installedBin, own, own},
    };
    for (const auto& c : cases) {
        const ScopedEnv chosen(DataFolder::kOverride, c.overrideFolder);
        EXPECT_EQ(DataFolder::choose(c.program), c.expected)
            << c.program.toStdString() << " " << c.overrideFolder.toStdString();
        EXPECT_TRUE(QDir(c.expected).exists()) << c.expected.toStdString();
    }
    EXPECT_EQ(DataFolder::installedShareFolder(installedBin),
              root + QStringLiteral("usr/share/ombrel/"));
    EXPECT_TRUE(DataFolder::installedShareFolder(build).isEmpty());

    // A folder the user cannot write to (root can write anywhere).
    if (::getuid() != 0) {
        const ScopedEnv chosen(DataFolder::kOverride, QString());
        ASSERT_TRUE(QFile::setPermissions(build, QFile::ReadOwner | QFile::ExeOwner));
        EXPECT_EQ(DataFolder::choose(build), user);
    }
    QCoreApplication::setApplicationName(appName);
}

}  // namespace
