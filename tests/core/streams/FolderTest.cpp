#include "IsolatedEnvironment.h"

#include "streams/ZRFolder.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FolderTest : public IsolatedTest
{
protected:
    std::string path(const std::string& relative) const { return env.tempDir().toStdString() + "/" + relative; }

    void makeFolders(std::initializer_list<const char*> folders) const
    {
        for (const char* folder : folders)
            ASSERT_TRUE(ZR_CreateFolder(path(folder).c_str())) << folder;
    }

    void makeFile(const std::string& relative) const { std::ofstream(path(relative)) << "data"; }

    void link(const std::string& target, const std::string& relative) const
    {
        ASSERT_EQ(symlink(target.c_str(), path(relative).c_str()), 0) << relative;
    }

    bool exists(const std::string& relative) const
    {
        struct stat info{};
        return lstat(path(relative).c_str(), &info) == 0;
    }

    // Every entry of a folder with its folder flag, "." and ".." included.
    static std::map<std::string, bool> entries(const std::string& folder, ZR_FolderEntryType entryType = nullptr)
    {
        std::map<std::string, bool> found;
        void* handle = ZR_OpenFolder(folder.c_str());
        EXPECT_TRUE(handle);
        CZR_ByteString name;
        bool isFolder = false;
        while (entryType ? ZR_GetNextFile(handle, name, isFolder, folder.c_str(), entryType)
                         : ZR_GetNextFile(handle, name, isFolder, folder.c_str()))
            found[name.c_str()] = isFolder;
        ZR_CloseFolder(handle);
        return found;
    }
};

TEST_F(FolderTest, NestedFoldersAreDeletedWhole)
{
    makeFolders({"a", "a/b", "a/b/c", "a/d"});
    makeFile("a/top.txt");
    makeFile("a/b/c/deep.txt");
    makeFile("a/d/e.txt");
    EXPECT_TRUE(ZR_DeleteFolder(path("a").c_str()));
    EXPECT_FALSE(exists("a"));
    EXPECT_FALSE(ZR_DeleteFolder(path("a").c_str()));
    EXPECT_FALSE(ZR_DeleteFolder(static_cast<const char*>(nullptr)));
}

TEST_F(FolderTest, LinksInsideAreRemovedAsLinksAndTheirTargetsStay)
{
    makeFolders({"outside", "tree", "tree/sub"});
    makeFile("outside/keep.txt");
    makeFile("outside-file.txt");
    link(path("outside"), "tree/to-folder");
    link(path("outside-file.txt"), "tree/sub/to-file");
    link(path("tree"), "tree/sub/cycle");
    link(path("missing"), "tree/dangling");
    EXPECT_TRUE(ZR_DeleteFolder(path("tree").c_str()));
    EXPECT_FALSE(exists("tree"));
    EXPECT_TRUE(exists("outside/keep.txt"));
    EXPECT_TRUE(exists("outside-file.txt"));
}

TEST_F(FolderTest, ALinkGivenAsThePathIsRefused)
{
    makeFolders({"target"});
    makeFile("target/keep.txt");
    link(path("target"), "alias");
    EXPECT_FALSE(ZR_DeleteFolder(path("alias").c_str()));
    EXPECT_TRUE(exists("alias"));
    EXPECT_TRUE(exists("target/keep.txt"));
}

TEST_F(FolderTest, EntriesCarryTheirFolderFlagEvenWhenTheFileSystemReportsNoType)
{
    makeFolders({"f", "f/sub"});
    makeFile("f/file.txt");
    const std::map<std::string, bool> expected = {{".", true}, {"..", true}, {"sub", true}, {"file.txt", false}};
    EXPECT_EQ(entries(path("f")), expected);
    EXPECT_EQ(entries(path("f"), [](const void*) -> unsigned char { return DT_UNKNOWN; }), expected);

    CZR_ByteString name;
    bool isFolder = false;
    EXPECT_FALSE(ZR_GetNextFile(nullptr, name, isFolder, nullptr));
    EXPECT_EQ(ZR_OpenFolder(path("missing").c_str()), nullptr);
    ZR_CloseFolder(nullptr);
    EXPECT_EQ(ZR_GetFolderSeparator(), L'/');
}

TEST_F(FolderTest, WidePathsGoThroughTheLocale)
{
    std::string folder = path("d\xC3\xBC");
    CZR_WideString wide = CZR_WideString::FromLocal(folder.c_str());
    EXPECT_TRUE(ZR_CreateFolder(wide.c_str()));
    EXPECT_FALSE(ZR_CreateFolder(wide.c_str()));
    EXPECT_TRUE(ZR_IsFilePathExist(wide.c_str()));
    makeFile("d\xC3\xBC/\xC3\xA9.txt");

    void* handle = ZR_OpenFolder(wide.c_str());
    ASSERT_TRUE(handle);
    CZR_WideString name;
    bool isFolder = true;
    bool sawFile = false;
    while (ZR_GetNextFile(handle, name, isFolder, folder.c_str()))
        sawFile = sawFile || (name == CZR_WideString(L"\xE9.txt") && !isFolder);
    ZR_CloseFolder(handle);
    EXPECT_TRUE(sawFile);

    EXPECT_TRUE(ZR_DeleteFolder(wide.c_str()));
    EXPECT_FALSE(ZR_IsFilePathExist(wide.c_str()));
}

} // namespace
