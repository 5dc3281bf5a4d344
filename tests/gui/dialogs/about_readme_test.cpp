// The about box finds the README installed beside the program under any
// prefix, and the sources' README where nothing is installed.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "dialogs/about_dialog.h"

namespace {

TEST(AboutReadme, InstalledCopyUnderAnyPrefixElseTheSources) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath("bin") && root.mkpath("share/doc/mevra"));
    const QString bin = root.filePath("bin");

    // Nothing installed yet: a program run from a build folder.
    const QString fallback = about_dialog::readme_path(bin);
    EXPECT_TRUE(fallback.endsWith("/README.md"));
    EXPECT_FALSE(fallback.startsWith(prefix.path()));

    QFile readme(root.filePath("share/doc/mevra/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::WriteOnly));
    readme.close();
    EXPECT_EQ(about_dialog::readme_path(bin), QDir::cleanPath(readme.fileName()));
}

}  // namespace
