// Files: failures are kept and reported; an atomic write replaces the target only when complete.
#include <filesystem>

#include <gtest/gtest.h>

#include "support/File.h"
#include "tests/harness/TempFolder.h"

TEST(File, ReadsWhatWasWrittenAndReportsTheEnd) {
    TempFolder folder;
    File out;
    ASSERT_TRUE(out.Open(folder.File("a.txt"), File::Mode::Write));
    EXPECT_TRUE(out.Write("abc", 3));
    EXPECT_TRUE(out.Close());

    File in;
    ASSERT_TRUE(in.Open(folder.File("a.txt"), File::Mode::Read));
    char buffer[8] = {};
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 3u);
    EXPECT_EQ(in.Read(buffer, sizeof buffer), 0u);
    EXPECT_FALSE(in.HasError());
    EXPECT_EQ(in.GetFileName(), "a.txt");
    EXPECT_TRUE(std::filesystem::path(in.GetFilePath()).is_absolute());
}

TEST(File, RefusesMissingFilesAndFolders) {
    TempFolder folder;
    File in;
    EXPECT_FALSE(in.Open(folder.File("missing"), File::Mode::Read));
    EXPECT_FALSE(in.LastError().empty());
    EXPECT_FALSE(in.Open(folder.Path(), File::Mode::Read));
    EXPECT_FALSE(in.IsOpen());
}

TEST(File, AFullDiskIsAFailedWriteNotASuccess) {
    File out;
    ASSERT_TRUE(out.Open("/dev/full", File::Mode::Write));
    std::string block(1 << 16, 'x');
    bool written = out.Write(block.data(), block.size());
    bool closed = out.Close();
    EXPECT_FALSE(written && closed);
    EXPECT_TRUE(out.HasError());
}

TEST(AtomicFile, ReplacesTheTargetOnlyOnCommit) {
    TempFolder folder;
    std::string target = folder.Write("design.zdf", "old");

    {
        AtomicFile discarded;
        ASSERT_TRUE(discarded.Open(target));
        discarded.GetFile().Write("new but abandoned", 17);
    }
    EXPECT_EQ(TempFolder::Read(target), "old");

    AtomicFile file;
    ASSERT_TRUE(file.Open(target));
    file.GetFile().Write("new", 3);
    EXPECT_EQ(TempFolder::Read(target), "old");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(TempFolder::Read(target), "new");

    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(AtomicFile, FailsWhereNoFileCanBeMade) {
    TempFolder folder;
    AtomicFile file;
    EXPECT_FALSE(file.Open(folder.File("no/such/folder/x.txt")));
    EXPECT_FALSE(file.LastError().empty());
    EXPECT_FALSE(file.Commit());
}
