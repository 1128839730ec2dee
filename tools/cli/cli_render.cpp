// kalvera-cli render: the picture of one term composed as the automatic export
// composes it (map, cells, legend, the two header lines), without a display,
// written as JPEG, PNG or, for a .pdf name, the printed page. The batch tool
// an office uses to publish pictures from a script.

#include <QImage>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_term_render.h"
#include "output/jpeg_writer.h"
#include "output/picture_export.h"
#include "output/png_writer.h"
#include "output/print_job.h"
#include "render/viewer_state.h"

namespace kalvera::cli {

namespace {

enum class OutputKind { Jpeg, Png, Pdf };

OutputKind KindOf(const std::string& path) {
    if (HasSuffix(path, ".png")) return OutputKind::Png;
    if (HasSuffix(path, ".pdf")) return OutputKind::Pdf;
    return OutputKind::Jpeg;
}

bool WriteImage(const QImage& image, const std::string& path, OutputKind kind, std::string& error) {
    if (kind == OutputKind::Jpeg) return WriteJpegFile(image, path, error);
    return WritePngFile(image, path, error);
}

int runRender(const std::vector<std::string>& args) {
    RenderArgs render;
    if (const int usage = ParseRenderArgs(args, render); usage != 0) return usage;
    const OutputKind kind = KindOf(render.out);
    // The printed page has a map square of its own size.
    if (kind == OutputKind::Pdf) {
        if (const int usage = RefuseOptions(render, {"--side"}, "a .pdf page"); usage != 0)
            return usage;
    }
    const std::unique_ptr<QGuiApplication> app = StartGui();

    // About 100 MB of bitmaps at the largest side: kept off the stack.
    auto viewer = std::make_unique<ViewerState>();
    if (const int failed = RenderTerm(render, *viewer); failed != 0) return failed;

    std::string error;
    const bool written = kind == OutputKind::Pdf
                             ? WritePdfPage(*viewer, render.out, error)
                             : WriteImage(ComposeExportImage(*viewer), render.out, kind, error);
    if (!written) return LoadFailure(error);
    return 0;
}

const CliRegistrar registrar({"render", runRender});

}  // namespace

}  // namespace kalvera::cli
