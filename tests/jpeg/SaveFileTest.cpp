#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "StreamCheck.h"

using namespace tessaro;
using namespace tessaro::jpegtest;
namespace fs = std::filesystem;

namespace {

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(SaveFile, WritesTheStreamAndNeverReplaces) {
    const std::string folder = scratchFolder("save");
    const Picture pic = naturalPicture(50, 30);
    JpegEncoder encoder;
    encoder.setComment("resized");
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 50, 30, 0, 0), 0);
    EXPECT_EQ(encoder.SaveFile(""), 1);

    const std::string first = folder + "/a.jpg";
    const std::string second = folder + "/b.jpg";
    EXPECT_EQ(encoder.SaveFile(first), 0);
    EXPECT_EQ(encoder.SaveFile(second), 0);
    const auto a = readFile(first);
    EXPECT_EQ(a, readFile(second));
    EXPECT_EQ(a, encoder.EncodeStream());
    EXPECT_EQ(decode(a).warnings, 0);
    EXPECT_EQ(a.back(), 0xD9);

    // An existing file, or a link of that name, is left as it was.
    const std::string existing = folder + "/existing.jpg";
    writeText(existing, "keep me");
    EXPECT_EQ(encoder.SaveFile(existing), 2);
    EXPECT_EQ(readFile(existing), (std::vector<uint8_t>{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
    EXPECT_EQ(encoder.SaveFile(first), 2);
    EXPECT_EQ(readFile(first), a);

    const std::string link = folder + "/link.jpg";
    fs::create_symlink(folder + "/target.jpg", link);
    EXPECT_EQ(encoder.SaveFile(link), 2);
    EXPECT_FALSE(fs::exists(folder + "/target.jpg"));

    // Only the files named above are in the folder: no temporary file survives a save.
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 4u);
}

TEST(SaveFile, FailuresLeaveNoFile) {
    const std::string folder = scratchFolder("fail");
    const Picture pic = naturalPicture(20, 20);
    JpegEncoder encoder;
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 20, 20, 0, 0), 0);

    EXPECT_EQ(errorNumberOf([&] { encoder.SaveFile(folder + "/missing/x.jpg"); }), 76);
    fs::create_directory(folder + "/dir.jpg");
    EXPECT_EQ(errorNumberOf([&] { encoder.SaveFile(folder + "/dir.jpg"); }), 75);

    // An encoding error stops the save before the file exists.
    encoder.setComment(std::string(65534, 'x'));
    EXPECT_EQ(errorNumberOf([&] { encoder.SaveFile(folder + "/long.jpg"); }), 6);
    EXPECT_FALSE(fs::exists(folder + "/long.jpg"));

    // Nothing sampled yet: no usable Huffman table, no file.
    JpegEncoder fresh;
    EXPECT_EQ(errorNumberOf([&] { fresh.SaveFile(folder + "/empty.jpg"); }), 1);
    EXPECT_FALSE(fs::exists(folder + "/empty.jpg"));
}

TEST(SaveFile, AWriteThatFailsPartWayRemovesThePartialFile) {
    const std::string folder = scratchFolder("partial");
    const std::string path = folder + "/big.jpg";
    const Picture pic = noisePicture(128, 128);
    JpegEncoder encoder;
    encoder.setQuality(100);
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 128, 128, 0, 0), 0);
    ASSERT_GT(encoder.EncodeStream().size(), 20000u);

    // In a child process, limit file sizes to 4096 bytes so that the write stops part-way.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        int code = 0;
        try {
            encoder.SaveFile(path);
        } catch (const RuntimeError& e) {
            code = e.number() == 0 ? 99 : 10;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 10) << "the failed write is reported";
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(folder)) << "no temporary file is left behind";
}

TEST(SaveFile, AFileThatCannotBeWrittenIsNamedWithTheReason) {
    const std::string folder = scratchFolder("reason");
    const Picture pic = naturalPicture(20, 20);
    JpegEncoder encoder;
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 20, 20, 0, 0), 0);
    fs::create_directory(folder + "/dir.jpg");
    const std::pair<std::string, std::string> cases[] = {
        {folder + "/dir.jpg", "Path/File access error: " + folder + "/dir.jpg (Is a directory)"},
        {folder + "/no/x.jpg",
         "Path not found: " + folder + "/no/x.jpg (No such file or directory)"},
    };
    for (const auto& [path, text] : cases) {
        try {
            encoder.SaveFile(path);
            ADD_FAILURE() << path << " was reported written";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.text(), text);
        }
    }
}

namespace {
// The id of a process that has just ended.
pid_t endedProcess() {
    const pid_t child = fork();
    if (child == 0) {
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    return child;
}
}  // namespace

// A run killed while writing leaves its temporary file; the next write into that folder
// removes it, but never the temporary of a run that still goes, nor the user's own files.
TEST(SaveFile, TemporariesOfEndedRunsAreRemovedAndNoOtherFile) {
    const std::string folder = scratchFolder("stale");
    const std::string dead = std::to_string(endedProcess());
    const std::string live = std::to_string(getppid());
    const std::string names[] = {
        "a.jpg.tessaro-tmp-" + dead + "-1", "b.jpg.tessaro-tmp-" + live + "-1",
        "c.jpg.tessaro-tmp-" + dead + "-2", "d.jpg.tessaro-tmp-x-1", "e.jpg.part-" + dead + "-1"};
    for (const std::string& name : names) {
        writeText(folder + "/" + name, "part");
        if (name != names[2]) {  // the third was written just now: perhaps by another machine
            const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
            fs::last_write_time(folder + "/" + name, old);
        }
    }
    const Picture pic = naturalPicture(20, 20);
    JpegEncoder encoder;
    ASSERT_EQ(encoder.SampleHDC(*pic.dc, 20, 20, 0, 0), 0);
    ASSERT_EQ(encoder.SaveFile(folder + "/new.jpg"), 0);

    EXPECT_FALSE(fs::exists(folder + "/" + names[0]));
    for (const std::string& name : {names[1], names[2], names[3], names[4]}) {
        EXPECT_TRUE(fs::exists(folder + "/" + name)) << name;
    }
}
