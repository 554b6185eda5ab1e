#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "RuntimeError.h"
#include "StaleTemporaries.h"
#include "TemporaryFile.h"
#include "TemporaryName.h"

using namespace tessaro::files;
namespace fs = std::filesystem;

TEST(TemporaryName, CarriesItsWriterAndFitsAFolderEvenForALongName) {
    const std::string name = temporaryNameFor("/x/y/foto.jpg", "0123abcd", 4321, 7);
    EXPECT_EQ(name, "/x/y/foto.jpg.tessaro-tmp-0123abcd-4321-7");
    EXPECT_EQ(temporaryOwner(name.substr(5)).machine, "0123abcd");
    EXPECT_EQ(temporaryOwner(name.substr(5)).pid, 4321);
    EXPECT_EQ(localMachineMark().size(), 8u);

    const std::string longest =
        temporaryNameFor("/x/" + std::string(255, 'n'), "0123abcd", 4321, 7);
    EXPECT_EQ(longest.size(), 3u + 255u);
    EXPECT_EQ(temporaryOwner(longest.substr(3)).pid, 4321);
    EXPECT_EQ(temporaryOwner("a.tessaro-tmp-12-3").pid, 12);  // an older run's
    EXPECT_EQ(temporaryOwner("a.tessaro-tmp-12-3").machine, "");

    for (const char* other :
         {"foto.jpg", "a.tessaro-tmp-12", "a.tessaro-tmp-12-", "a.tessaro-tmp--3",
          "a.tessaro-tmp-1x-3", "a.tessaro-tmp-12-3.jpg", "a.tessaro-tmp-0123ABCD-1-2",
          "a.tessaro-tmp-0123abc-1-2", "a.tessaro-tmp-0123abcd--2", "a.tessaro-tmp-0-1"}) {
        EXPECT_EQ(temporaryOwner(other).pid, 0) << other;
    }
}

// A killed writer's file goes at the next start when its process is known to be gone here;
// one whose process cannot be told goes only once it has been quiet for the time given.
TEST(StaleTemporaries, GoAtOnceWhenTheirProcessIsGoneAndOtherwiseOnceQuiet) {
    const fs::path folder =
        fs::temp_directory_path() / ("tessaro-stale-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);  // its id now names no process
    const std::string here = localMachineMark();
    const struct {
        std::string name;
        bool old;  // last written three minutes ago
        bool removed;
    } cases[] = {
        {temporaryNameFor("a.jpg", here, child, 1), false, true},
        {temporaryNameFor("b.jpg", here, getpid(), 1), true, false},
        {temporaryNameFor("c.jpg", "0123abcd", child, 1), false, false},
        {temporaryNameFor("d.jpg", "0123abcd", child, 1), true, true},
        {"e.jpg.tessaro-tmp-" + std::to_string(child) + "-1", false, false},
        {"f.jpg.tessaro-tmp-" + std::to_string(child) + "-1", true, true},
        {temporaryNameFor("g.jpg", kUnknownMachine, child, 1), false, false},
        {"h.jpg", true, false},
    };
    for (const auto& c : cases) {
        const fs::path file = folder / c.name;
        std::ofstream(file) << "x";
        if (c.old) {
            fs::last_write_time(file, fs::last_write_time(file) - std::chrono::minutes(3));
        }
    }
    removeStaleTemporaries(folder.string(), std::chrono::minutes(2));
    for (const auto& c : cases) {
        EXPECT_EQ(fs::exists(folder / c.name), !c.removed) << c.name;
    }
    fs::remove_all(folder);
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

// Replacing never turns a folder, FIFO or device, nor the target of a link to one, into a
// plain file: it is refused with the name and what it is, and nothing is left behind.
TEST(TemporaryFile, ReplacingRefusesAnythingButARegularFile) {
    const fs::path folder =
        fs::temp_directory_path() / ("tessaro-kinds-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "folder.cfg");
    ASSERT_EQ(::mkfifo((folder / "fifo.cfg").c_str(), 0600), 0);
    fs::create_symlink("fifo.cfg", folder / "to-fifo.cfg");
    fs::create_symlink("to-fifo.cfg", folder / "to-to-fifo.cfg");
    fs::create_symlink("/dev/null", folder / "to-device.cfg");
    fs::create_symlink("folder.cfg", folder / "to-folder.cfg");
    const struct {
        const char* name;
        const char* kind;
    } cases[] = {{"folder.cfg", "a folder"},    {"fifo.cfg", "a FIFO"},
                 {"to-fifo.cfg", "a FIFO"},     {"to-to-fifo.cfg", "a FIFO"},
                 {"to-device.cfg", "a device"}, {"to-folder.cfg", "a folder"}};
    for (const auto& c : cases) {
        const std::string path = (folder / c.name).string();
        try {
            TemporaryFile file(path, TemporaryFile::Existing::Replace);
            file.write("new", 3);
            file.publish();
            ADD_FAILURE() << c.name << " was replaced";
        } catch (const tessaro::RuntimeError& e) {
            EXPECT_EQ(e.number(), 75) << c.name;
            EXPECT_EQ(e.text(), "Path/File access error: " + path + " (" + c.kind +
                                    ", not a regular file: left as it is)");
        }
    }
    EXPECT_TRUE(fs::is_fifo(folder / "fifo.cfg"));
    EXPECT_TRUE(fs::is_directory(fs::symlink_status(folder / "folder.cfg")));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 6);
    fs::remove_all(folder);
}
