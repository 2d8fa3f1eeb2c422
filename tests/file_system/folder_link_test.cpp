#include <filesystem>

#include "file_system/path_text.h"
#include "file_system_test.h"

namespace vestro::file_system_tests {
namespace {

namespace fs = std::filesystem;

// The links are removed before the temporary folder is: under Wine only a Unix command can.
class FileSystemFolderLinks : public FileSystemTest {
  protected:
    void Link(std::wstring_view link, std::wstring_view target) {
        const std::string problem = links.Make(Child(link), Child(target));
        ASSERT_TRUE(problem.empty()) << problem;
    }

    FolderLinks links;
};

TEST_F(FileSystemFolderLinks, DeleteNeverEntersOrRemovesTheFolderALinkPointsTo) {
    WriteFile(Child(L"outside/keep.txt"), "keep");
    WriteFile(Child(L"outside/sub/deep.txt"), "deep");
    MakeFolder(Child(L"outside-empty"));
    WriteFile(Child(L"target/file.txt"), "x");
    MakeFolder(Child(L"target/sub"));
    ASSERT_NO_FATAL_FAILURE(Link(L"target/sub/link", L"outside"));
    ASSERT_NO_FATAL_FAILURE(Link(L"target/link-to-empty", L"outside-empty"));
    const TreeSnapshot outside = SnapshotTree(Child(L"outside"));

    const Status status = fileSystem->DeleteFolder(Text(L"target"), true);

    EXPECT_EQ(SnapshotTree(Child(L"outside")), outside);
    EXPECT_TRUE(fs::is_directory(Child(L"outside-empty")));
    if (RunningUnderWine()) {
        // Wine removes what a Unix link points to rather than the link, so the link is refused.
        EXPECT_TRUE(IsDescribedFailure(status, Text(L"target")));
    } else {
        EXPECT_FALSE(status.Failed()) << status.description;
        EXPECT_FALSE(fs::exists(fs::symlink_status(Child(L"target"))));
    }
}

TEST_F(FileSystemFolderLinks, CopyTakesALinkedFolderAsTheFolderItPointsTo) {
    WriteFile(Child(L"outside/keep.txt"), "keep");
    WriteFile(Child(L"outside/sub/deep.txt"), "deep");
    WriteFile(Child(L"source/file.txt"), "x");
    ASSERT_NO_FATAL_FAILURE(Link(L"source/linked", L"outside"));

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);
    ASSERT_FALSE(status.Failed()) << status.description;
    // A real copy: it keeps its content when the original goes.
    fs::remove_all(Child(L"outside/sub"));

    EXPECT_EQ(SnapshotTree(Child(L"copy")),
              (TreeSnapshot{{L"file.txt", "x"},
                            {L"linked", "<folder>"},
                            {JoinPath(L"linked", L"keep.txt"), "keep"},
                            {JoinPath(L"linked", L"sub"), "<folder>"},
                            {JoinPath(JoinPath(L"linked", L"sub"), L"deep.txt"), "deep"}}));
}

// Without a guard the walk would only end where the system's path length gives out, if at all.
TEST_F(FileSystemFolderLinks, CopyEndsWithAFailureWhenALinkLoopsBack) {
    WriteFile(Child(L"source/sub/file.txt"), "x");
    ASSERT_NO_FATAL_FAILURE(Link(L"source/sub/back", L"source"));

    const Status status = fileSystem->CopyFolder(Text(L"source"), Text(L"copy"), true);

    EXPECT_TRUE(IsDescribedFailure(status, JoinPath(JoinPath(Text(L"source"), L"sub"), L"back")));
    EXPECT_FALSE(fs::exists(Child(L"copy/sub/back/sub")));
}

}  // namespace
}  // namespace vestro::file_system_tests
