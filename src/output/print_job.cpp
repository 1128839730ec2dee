#include "output/print_job.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>

#include "common/replace_file.h"
#include "output/print_page.h"

namespace kalvera {

void ConfigurePrinterForPage(QPrinter& printer) {
    printer.setResolution(kPrintDotsPerInch);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

bool WritePdfPage(const ViewerState& viewer, const std::string& path, std::string& error) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool begun = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPrintDotsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setCreator(QStringLiteral("Kalvera"));
        begun = PrintPicture(writer, viewer).pageBegun;
    }
    if (!begun || buffer.data().isEmpty()) {
        error = "Cannot draw the page for " + path;
        return false;
    }
    const QByteArray& bytes = buffer.data();
    return ReplaceFileContents(
        path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), error);
}

}  // namespace kalvera
