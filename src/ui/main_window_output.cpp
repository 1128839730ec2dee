// Printing and saving the picture.

#include <QFile>
#include <QPrinter>
#include <optional>

#include "output/jpeg_writer.h"
#include "output/map_export.h"
#include "output/picture_export.h"
#include "output/print_job.h"
#include "output/print_page.h"
#include "products/derived_products.h"
#include "ui/main_window.h"

namespace kalvera {

void TForm1::printButtonClick() {
    // One printer object per job, set up for the page before the dialog shows
    // it, so that the dialog offers A4 portrait.
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinterForPage(printer);
    if (!dialogs_.setUpPrinter(this, printer)) return;
    // Choosing a printer in the dialog may bring its own defaults; the page
    // keeps the resolution its pixel sizes were made for, and the operator's
    // choice of paper.
    printer.setResolution(kPrintDotsPerInch);
    printer.setFullPage(true);
    const PrintResult result = PrintPicture(printer, viewer_);
    if (!result.pageBegun) {
        dialogs_.showMessage(this, tr("Не удалось начать печать: ") + printer.printerName(),
                             windowTitle());
    }
}

void TForm1::saveButtonClick() {
    // Taken before the dialog opens: what the operator saves is what the
    // window showed when the button was pressed.
    const QImage picture = ComposeWindowImage(viewer_);
    const DisplayState shown = viewer_.display;
    const std::optional<QString> chosen =
        ChooseSaveFile(dialogs_, this, SaveDialog1,
                       ProposedFileName(shown.siteCode, shown.dayName, shown.termText,
                                        LayerName(shown.layerCode)));
    if (!chosen) return;
    const std::string path = QFile::encodeName(*chosen).toStdString();
    std::string error;
    const bool written = MapFormatOf(path) == MapFormat::None
                             ? WriteJpegFile(picture, path, error)
                             : WriteTermMap(viewer_.config, shown, shown.layerCode, path, error);
    if (!written) ShowSaveFailure(dialogs_, this, *chosen, error, windowTitle());
}

}  // namespace kalvera
