// The window's save and print buttons, with the dialogs answered by a script.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/clock.h"
#include "output/automatic_export.h"
#include "output/output_test_support.h"
#include "products/derived_products.h"
#include "support/file_bytes.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace kalvera {
namespace {

using testing::CountFiles;
using testing::TempDir;

class AnsweringDialogs : public Dialogs {
  public:
    void showMessage(QWidget*, const QString& text, const QString&) override {
        messages.push_back(text);
    }
    std::optional<uint32_t> chooseColour(QWidget*, uint32_t) override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(QWidget*, const SaveDialogOptions& options) override {
        ++saveDialogs;
        offered = options;
        return savePath;
    }
    bool setUpPrinter(QWidget*, QPrinter& printer) override {
        ++printDialogs;
        printerResolution = printer.resolution();
        printerFullPage = printer.fullPage();
        if (!printTo) return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(*printTo);
        return true;
    }
    void runModal(QDialog&) override {}

    std::optional<QString> savePath, printTo;
    SaveDialogOptions offered;
    int saveDialogs = 0, printDialogs = 0, printerResolution = 0;
    bool printerFullPage = false;
    std::vector<QString> messages;
};

// A window started on a demo archive of today, as the operator sees it.
class WindowOutput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        archive_ = new TempDir;
        if (!testing::WriteDemoArchive(archive_->file("start"))) {
            delete archive_;
            archive_ = nullptr;
        }
    }
    static void TearDownTestSuite() {
        delete archive_;
        archive_ = nullptr;
    }
    void SetUp() override {
        if (archive_ == nullptr) GTEST_SKIP() << "kalvera-demo is not built";
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(archive_->file("start"));
        TForm1Options options;
        options.screenSize = QSize(1280, 768);
        form = std::make_unique<TForm1>(dialogs, clock, options);
        std::filesystem::current_path(before);
        ASSERT_TRUE(form->started());
    }

    TempDir dir;
    AnsweringDialogs dialogs;
    FixedClock clock{systemClock().now()};
    std::unique_ptr<TForm1> form;
    static TempDir* archive_;
};

TempDir* WindowOutput::archive_ = nullptr;

TEST_F(WindowOutput, SaveWritesThePictureAreaWithItsHeaderOrSaysWhyNot) {
    form->saveButtonClick();  // cancelled
    EXPECT_EQ(CountFiles(dir.path()), 0u);
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.savePath = QString::fromStdString(dir.file("missing/dir/saved.jpg"));
    form->saveButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].contains(*dialogs.savePath));

    dialogs.savePath = QString::fromStdString(dir.file("saved.jpg"));
    form->saveButtonClick();
    EXPECT_EQ(dialogs.saveDialogs, 3);
    EXPECT_EQ(dialogs.offered.defaultSuffix, "jpg");
    EXPECT_TRUE(dialogs.offered.confirmOverwrite);
    QImage saved;
    ASSERT_TRUE(saved.load(*dialogs.savePath, "JPEG"));
    const LayoutRect area = form->viewer().layout.picture;
    EXPECT_EQ(saved.size(), QSize(area.width, area.height + 40));  // no legend
    EXPECT_EQ(dialogs.messages.size(), 1u);
}

TEST_F(WindowOutput, TheSaveDialogOpensInTheLastFolderAndNamesWhatIsSaved) {
    dialogs.savePath = QString::fromStdString(dir.file("first.jpg"));
    form->saveButtonClick();
    form->saveButtonClick();
    EXPECT_EQ(dialogs.offered.directory, QString::fromStdString(dir.str()));
    DisplayState& shown = form->display();
    shown.layerCode = kLayerVil;
    form->saveButtonClick();
    std::string term = shown.termText;
    std::erase(term, '.');
    EXPECT_EQ(dialogs.offered.proposedName.toStdString(),
              shown.siteCode + "_" + shown.dayName + "_" + term + "_vil");
}

TEST_F(WindowOutput, PrintToFileMakesOneA4PageAndKeepsTheWindowScale) {
    form->printButtonClick();  // cancelled
    EXPECT_EQ(CountFiles(dir.path()), 0u);

    const float halfExtent = form->display().viewHalfExtentKm = 120.0f;
    dialogs.printTo = QString::fromStdString(dir.file("page.pdf"));
    form->printButtonClick();
    EXPECT_EQ(dialogs.printDialogs, 2);
    EXPECT_EQ(dialogs.printerResolution, 300);
    EXPECT_TRUE(dialogs.printerFullPage);
    EXPECT_EQ(form->display().viewHalfExtentKm, halfExtent);
    ASSERT_TRUE(std::filesystem::exists(dir.file("page.pdf")));
    if (testing::HaveTool("pdfinfo")) {
        const std::string info = testing::CommandOutput("pdfinfo " + dir.file("page.pdf"));
        EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
        EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    }
}

TEST_F(WindowOutput, SaveAsAMapFileTypeWritesThatFormat) {
    dialogs.savePath = QString::fromStdString(dir.file("saved.tif"));
    form->saveButtonClick();
    EXPECT_TRUE(dialogs.offered.fileTypes.front().startsWith("JPEG"));
    EXPECT_EQ(testing::ReadWholeFile(dir.file("saved.tif")).substr(0, 2), "II");  // TIFF
    EXPECT_TRUE(dialogs.messages.empty());
}

// The tick's exports with a list that names a good product, an unreadable
// line and a product that cannot be written.
TEST_F(WindowOutput, PublishingWritesTheListAndReportsEachBadLineOnce) {
    const std::string list = archive_->file("start/res/publish.txt");
    testing::WriteWholeFile(
        list, "3 " + dir.file("a.tif") + "\nbad line\n3 " + dir.file("no/dir/b.geojson") + "\n");
    AutomaticExport exports;
    const std::string first = exports.run(form->viewer(), dir.file("absent.jpg"));
    const std::string second = exports.run(form->viewer(), dir.file("absent.jpg"));
    std::filesystem::remove(list);
    EXPECT_NE(first.find("no/dir/b.geojson"), std::string::npos) << first;
    EXPECT_NE(first.find("строка 2"), std::string::npos) << first;
    EXPECT_NE(second.find("no/dir/b.geojson"), std::string::npos) << second;
    EXPECT_EQ(second.find("строка"), std::string::npos) << second;
    EXPECT_EQ(testing::ReadWholeFile(dir.file("a.tif")).substr(0, 2), "II");
    EXPECT_FALSE(std::filesystem::exists(dir.file("absent.jpg")));
}

}  // namespace
}  // namespace kalvera
