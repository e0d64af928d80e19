#include "XmlTestSupport.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> corpusFiles()
{
    std::vector<std::string> files;
    std::string folder = std::string(KELVRIN_TEST_DATA_DIR) + "/xml-corpus";
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.')
                files.push_back(folder + "/" + entry->d_name);
        }
        closedir(dir);
    }
    return files;
}

// Every input that the fuzzer was ever seeded with or once failed on stays covered here.
TEST(XmlCorpusReplay, EveryInputParsesTheSameFromMemoryAndInBlocks)
{
    std::vector<std::string> files = corpusFiles();
    ASSERT_FALSE(files.empty());
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string input = bytes.str();
        ElementPtr fromMemory = parseMemory(input);
        std::string expected = dumpTree(fromMemory.get());
        for (size_t blockSize : {size_t(1), size_t(7), size_t(32768)})
            EXPECT_EQ(dumpTree(parseStream(input, blockSize).get()), expected) << path;
        if (fromMemory) {
            CZR_ByteString composed = fromMemory->OutputStream(false, true);
            ElementPtr reparsed = parseMemory(std::string(composed.c_str(), size_t(composed.GetLength())));
            EXPECT_TRUE(reparsed) << path;
        }
    }
}

} // namespace
