#include "platform/linux/archive_zip.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "fakes/linux_libraries.h"
#include "fakes/site_server.h"
#include "platform/linux/module_zip.h"

using namespace velandri;

namespace {

const ZipItem kUpdater = fileItem("Pelkamo.exe", "#!/bin/sh\n", 0755);

// Extraction into the data folder, as an update does it, from an archive kept elsewhere.
class ArchiveZipTest : public testing::TestWithParam<Libraries> {
protected:
    Result<> extract(const QByteArray& archive, ExtractionLimits limits = {}) {
        const QString path = archives.filePath(QStringLiteral("Pelkamo.zip"));
        writeFile(path, archive);
        QDir().mkpath(folder);
        return makeZipExtractor(GetParam(), limits)->extract(path, folder);
    }

    QTemporaryDir archives;
    QTemporaryDir root;
    QString folder = root.path() + QStringLiteral("/data/Velandri");
};

TEST_P(ArchiveZipTest, WritesNothingOutsideTheFolder) {
    const std::string outside = root.path().toStdString();
    const QByteArray zip = makeZip({
        fileItem("../evil.txt", "x"),
        fileItem("docs/../../evil2.txt", "x"),
        fileItem(outside + "/absolute.txt", "x"),
        linkItem("up", ".."),
        fileItem("up/evil3.txt", "x"),
        linkItem("etc", "/etc"),
        fileItem("docs/readme.txt", "kept"),
        linkItem("docs/inside", "../Pelkamo.exe"),
        linkItem("../mine", "Velandri"),  // beside a link of the user's: neither is touched
        kUpdater,
    });
    ASSERT_TRUE(QDir().mkpath(root.path() + "/data"));
    ASSERT_TRUE(QFile::link("/etc", root.path() + "/data/mine"));
    const std::vector<std::string> names = zipEntryNames(zip);
    ASSERT_NE(std::find(names.begin(), names.end(), "../evil.txt"), names.end());
    ASSERT_NE(std::find(names.begin(), names.end(), outside + "/absolute.txt"), names.end());
    const Result<> extracted = extract(zip);
    ASSERT_TRUE(extracted) << extracted.error().detail.toStdString();

    QStringList outsideFolder;
    for (const QString& path : filesIn(root.path()))
        if (!path.startsWith(folder)) outsideFolder << path;
    EXPECT_EQ(outsideFolder, QStringList({root.path() + "/data", root.path() + "/data/mine"}));
    EXPECT_EQ(QFileInfo(root.path() + "/data/mine").symLinkTarget(), "/etc");
    EXPECT_FALSE(QFileInfo(folder + "/up").isSymLink());
    EXPECT_FALSE(QFileInfo(folder + "/etc").isSymLink());
    EXPECT_TRUE(QFileInfo(folder + "/docs/inside").isSymLink());
    EXPECT_EQ(readFile(folder + "/docs/readme.txt"), "kept");
    EXPECT_EQ(readFile(folder + "/Pelkamo.exe"), kUpdater.content);
}

// More than an extraction may write, or more entries than it may hold: stopped at the bound,
// and what was written is removed. The bounds are lowered here (the program's are 512 MiB and
// 10,000 entries).
TEST_P(ArchiveZipTest, StopsAtItsBoundsAndRemovesWhatItWrote) {
    const ExtractionLimits limits{1024 * 1024, 100};
    std::vector<ZipItem> manyEntries = {kUpdater};
    for (int i = 0; i < 100; ++i) manyEntries.push_back(fileItem("many/" + std::to_string(i), "x"));
    const QByteArray bomb =
        makeZip({kUpdater, fileItem("docs/zeros.bin", QByteArray(16 * 1024 * 1024, '\0'))});
    ASSERT_LT(bomb.size(), 64 * 1024);
    const std::pair<const char*, QByteArray> tooMuch[] = {
        {"inflates to 16 MiB", bomb},
        {"claims less than it inflates to", claimingSize(bomb, 1000)},
        {"101 entries", makeZip(manyEntries)},
    };
    for (const auto& [name, archive] : tooMuch) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(QDir(folder).removeRecursively());
        EXPECT_FALSE(extract(archive, limits));
        EXPECT_EQ(filesIn(folder), QStringList());
    }
}

TEST(ModuleZipExtractor, WithoutItsModuleExtractsNothing) {
    QTemporaryDir folder;
    const QString archive = folder.filePath("update.zip");
    writeFile(archive, makeZip({fileItem("readme.txt", "x")}));
    ModuleZipExtractor zip(folder.filePath("modules/velandri-zip.so"));
    EXPECT_FALSE(zip.extract(archive, folder.path()));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("readme.txt")));
}

INSTANTIATE_TEST_SUITE_P(Libraries, ArchiveZipTest, kBothLibraries, librariesName);

}  // namespace
