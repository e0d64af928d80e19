#include "IsolatedEnvironment.h"
#include "engine/Comm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class DeleteDir : public IsolatedTest
{
protected:
    void SetUp() override
    {
        outside = env.root() + "/outside";
        IsolatedEnvironment::writeFile(outside + "/kept.txt", "outside");
        IsolatedEnvironment::writeFile(outside + "/folder/deep.txt", "deep");
        QFile::setPermissions(outside + "/kept.txt", QFile::ReadOwner);
        tree = env.root() + "/tree";
    }

    void expectOutsideUntouched()
    {
        EXPECT_EQ(IsolatedEnvironment::readFile(outside + "/kept.txt"), "outside");
        EXPECT_EQ(IsolatedEnvironment::readFile(outside + "/folder/deep.txt"), "deep");
        EXPECT_EQ(QFile::permissions(outside + "/kept.txt") & QFile::WriteOwner, 0);
    }

    QString outside;
    QString tree;
};

TEST_F(DeleteDir, RemovesWholeTreeWithHiddenAndNestedEntries)
{
    IsolatedEnvironment::writeFile(tree + "/a.txt", "a");
    IsolatedEnvironment::writeFile(tree + "/.hidden", "h");
    IsolatedEnvironment::writeFile(tree + "/sub/.deeper/b.bin", "b");
    QDir().mkpath(tree + "/empty");
    QFile::setPermissions(tree + "/a.txt", QFile::ReadOwner);

    EXPECT_TRUE(Comm::deleteDir(tree + "/"));
    EXPECT_FALSE(QFileInfo::exists(tree));
}

TEST_F(DeleteDir, LinksAreRemovedAsLinksAndNeverFollowed)
{
    IsolatedEnvironment::writeFile(tree + "/own.txt", "own");
    QDir().mkpath(tree + "/sub");
    ASSERT_TRUE(QFile::link(outside, tree + "/linked-folder"));
    ASSERT_TRUE(QFile::link(outside + "/folder", tree + "/sub/linked-sub"));
    ASSERT_TRUE(QFile::link(outside + "/kept.txt", tree + "/linked-file"));
    ASSERT_TRUE(QFile::link(env.root() + "/nowhere", tree + "/dangling"));

    EXPECT_TRUE(Comm::deleteDir(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
    expectOutsideUntouched();
}

TEST_F(DeleteDir, FolderThatIsItselfALinkLosesOnlyTheLink)
{
    ASSERT_TRUE(QFile::link(outside, tree));

    EXPECT_TRUE(Comm::deleteDir(tree + "/"));
    EXPECT_FALSE(QFileInfo(tree).isSymLink());
    expectOutsideUntouched();
}

TEST_F(DeleteDir, MissingFolderIsSuccess)
{
    EXPECT_TRUE(Comm::deleteDir(tree));
    EXPECT_FALSE(QFileInfo::exists(tree));
}

TEST_F(DeleteDir, ReportsWhatCouldNotGoAndRemovesTheRest)
{
    // A pipe is neither file, folder nor link: it stays, and so does its folder.
    IsolatedEnvironment::writeFile(tree + "/special/free.txt", "f");
    IsolatedEnvironment::writeFile(tree + "/other.txt", "o");
    ASSERT_EQ(mkfifo(QFile::encodeName(tree + "/special/pipe").constData(), 0600), 0);

    EXPECT_FALSE(Comm::deleteDir(tree));
    EXPECT_FALSE(QFileInfo::exists(tree + "/other.txt"));
    EXPECT_FALSE(QFileInfo::exists(tree + "/special/free.txt"));
    EXPECT_TRUE(QFileInfo::exists(tree + "/special/pipe"));
}

} // namespace
