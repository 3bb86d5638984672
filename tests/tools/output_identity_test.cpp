// Two names of one file are one file, whichever way they reach it.
#include "tools/output_identity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <filesystem>

#include "tests/tools/convert_run.h"

namespace tools_test {
namespace {

namespace fs = std::filesystem;
using convert_tool::IdentityOf;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

struct Names {
    TempFolder folder;
    Names() {
        fs::create_directory(folder.Path("dir"));
        WriteBytes(folder.Path("a.png"), "a");
        WriteBytes(folder.Path("b.png"), "b");
        fs::create_symlink(folder.Path("a.png"), folder.Path("link.png"));
        fs::create_hard_link(folder.Path("a.png"), folder.Path("hard.png"));
        fs::create_directory_symlink(folder.Path("dir"), folder.Path("dirlink"));
    }
};

// Existing files by device and inode, new ones by their resolved path.
TEST(OutputIdentityTest, EveryNameOfAFileIsThatFile) {
    const Names n;
    const auto& f = n.folder;
    const auto a = IdentityOf(Q(f.Path("a.png")));
    EXPECT_TRUE(a.exists);
    for (const std::string& other : {f.Path("dir/../a.png"), f.Path("./a.png"), f.Path("link.png"),
                                     f.Path("hard.png"), f.Path("dir//../a.png")})
        EXPECT_EQ(IdentityOf(Q(other)), a) << other;
    EXPECT_NE(IdentityOf(Q(f.Path("b.png"))), a);
    // New files: the same place by any way there, and not the existing file.
    const auto fresh = IdentityOf(Q(f.Path("dir/new.png")));
    EXPECT_FALSE(fresh.exists);
    EXPECT_EQ(IdentityOf(Q(f.Path("dirlink/new.png"))), fresh);
    EXPECT_EQ(IdentityOf(Q(f.Path("dir/./sub/../new.png"))), IdentityOf(Q(f.Path("dir/new.png"))));
    EXPECT_NE(IdentityOf(Q(f.Path("dir/other.png"))), fresh);
    // A relative name is taken from the working folder.
    const QString working = QDir::currentPath();
    QDir::setCurrent(Q(f.Path()));
    EXPECT_EQ(IdentityOf(QStringLiteral("a.png")), a);
    EXPECT_EQ(IdentityOf(QStringLiteral("dir/new.png")), fresh);
    QDir::setCurrent(working);
}

}  // namespace
}  // namespace tools_test
