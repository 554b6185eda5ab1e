#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TemporaryFile.h"
#include "TemporaryName.h"

using namespace tessaro::files;
namespace fs = std::filesystem;

TEST(TemporaryName, CarriesItsProcessAndFitsAFolderEvenForALongName) {
    const std::string name = temporaryNameFor("/x/y/foto.jpg", 4321, 7);
    EXPECT_EQ(name, "/x/y/foto.jpg.tessaro-tmp-4321-7");
    EXPECT_EQ(temporaryOwner(name.substr(5)), 4321);

    const std::string longest = temporaryNameFor("/x/" + std::string(255, 'n'), 4321, 7);
    EXPECT_EQ(longest.size(), 3u + 255u);
    EXPECT_EQ(temporaryOwner(longest.substr(3)), 4321);

    for (const char* other : {"foto.jpg", "a.tessaro-tmp-12", "a.tessaro-tmp-12-",
                              "a.tessaro-tmp--3", "a.tessaro-tmp-1x-3", "a.tessaro-tmp-12-3.jpg"}) {
        EXPECT_EQ(temporaryOwner(other), 0) << other;
    }
}

// Replacing through a link writes the file it points at and keeps that file's permissions;
// nothing but the finished files is left in the folder.
TEST(TemporaryFile, ReplacingFollowsLinksAndKeepsPermissions) {
    const fs::path folder =
        fs::temp_directory_path() / ("tessaro-base-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string real = (folder / "real.cfg").string();
    std::ofstream(real) << "old";
    ::chmod(real.c_str(), 0640);
    fs::create_symlink("real.cfg", folder / "link.cfg");

    TemporaryFile file((folder / "link.cfg").string(), TemporaryFile::Existing::Replace);
    file.write("new", 3);
    EXPECT_TRUE(file.publish());

    EXPECT_TRUE(fs::is_symlink(folder / "link.cfg"));
    std::ifstream in(real);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    fs::remove_all(folder);
}
